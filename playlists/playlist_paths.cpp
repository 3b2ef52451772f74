#include "playlists/playlist_paths.h"

#include "platform/executable_folder.h"

std::string FirstCharacters(std::string_view text, std::size_t count)
{
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size() && characters < count; ++characters) {
        // Step over the lead byte and then every continuation byte (10xxxxxx).
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    }
    return std::string(text.substr(0, end));
}

std::string FirstBytes(std::string_view text, std::size_t bytes)
{
    if (text.size() <= bytes) return std::string(text);
    // A character is at most four bytes: back over up to three continuation
    // bytes (10xxxxxx) to the start of the one cut; text that is not UTF-8 is
    // cut where it stands.
    const auto continues = [&](std::size_t at) {
        return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    };
    std::size_t end = bytes;
    for (int stepped = 0; stepped < 3 && end > 0 && continues(end); ++stepped) --end;
    if (continues(end)) end = bytes;
    return std::string(text.substr(0, end));
}

std::string PlaylistFolder() { return ExecutableFolder() + "pl/"; }

std::string CataloguePath() { return PlaylistFolder() + "PLT.plt"; }

std::string TemporaryCataloguePath() { return CataloguePath() + "t"; }

std::string PlaylistFilePath(std::string_view playlistName)
{
    return PlaylistFolder() + FirstCharacters(playlistName, kFileNameCharacters) + ".plt";
}

bool IsUnsafePlaylistName(std::string_view playlistName)
{
    return playlistName.find_first_of(std::string_view("/*\r\n\0", 5)) != std::string_view::npos;
}
