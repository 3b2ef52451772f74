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
