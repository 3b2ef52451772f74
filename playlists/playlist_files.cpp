// A playlist record's own file: creating it with its catalogue line, appending tracks.

#include "playlists/playlist_files.h"

#include "platform/text_file.h"
#include "playlists/catalogue_file.h"
#include "playlists/playlist_paths.h"

#include <cerrno>

namespace {

// Appends text and a line end to the file at path; a file that cannot be opened is not touched.
bool AppendLine(const std::string& path, const std::string& text)
{
    auto file = TextFile::Open(path, TextFile::Access::Append);
    if (!file) return false;
    const bool written = file->Put(text + "\n");
    return file->Close() && written;
}

} // namespace

PList::CreateResult PList::CreatePlaylistFile(std::string playlistName)
{
    name = playlistName;
    path = PlaylistFilePath(playlistName);
    if (auto existing = TextFile::Open(path, TextFile::Access::Read)) {
        existing->Close();
        return CreateResult::Exists;
    }
    // Made only if it is not there: should the test above have failed on a file
    // that is there after all, that file is another playlist's and stays untouched.
    auto file = TextFile::Open(path, TextFile::Access::CreateNew);
    if (!file) return errno == EEXIST ? CreateResult::Exists : CreateResult::WriteFailed;
    const bool created = file->Close();
    // Without its catalogue line the empty file would only block the name.
    if (!created || !AppendCatalogueLine(path + "*" + name)) {
        RemoveFile(path);
        return CreateResult::WriteFailed;
    }
    return CreateResult::Created;
}

bool PList::AppendTrack(std::string trackPath) { return AppendLine(path, trackPath); }

bool AppendTracks(PList& playlist, std::span<const s_simple> tracks)
{
    for (const s_simple& track : tracks) {
        if (!playlist.AppendTrack(track.path)) return false;
    }
    return true;
}
