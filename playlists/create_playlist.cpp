// Creating a playlist from the tracks on screen.

#include "playlists/playlist_files.h"
#include "playlists/playlist_messages.h"
#include "playlists/playlist_window.h"
#include "playlists/tables.h"

using namespace lirvan;

void CreatePlaylist(PlaylistWindow& window)
{
    // Every catalogue record is taken: a further playlist would have none.
    if (playlistCount >= kPlaylistRecords) {
        ShowError(window.Messages(), window.Owner(), CatalogueFullText().c_str());
        return;
    }
    const std::string PL_name = window.AskPlaylistName();
    if (PL_name.empty()) return;

    PList& playlist = PlaylistTable[playlistCount];
    switch (playlist.CreatePlaylistFile(PL_name)) {
    case PList::CreateResult::Exists:
        ShowError(window.Messages(), window.Owner(), kPlaylistExistsText);
        return;
    case PList::CreateResult::WriteFailed:
        ShowError(window.Messages(), window.Owner(), kPlaylistNotCreatedText);
        return;
    case PList::CreateResult::Created: break;
    }
    // The catalogue line is written: the playlist is listed even if its tracks are not all in.
    const bool written = AppendTracks(playlist, Tracks());
    ++playlistCount;
    currentPlaylist = playlistCount - 1;
    window.RefreshPlaylists();
    if (!written) ShowError(window.Messages(), window.Owner(), kTracksNotWrittenText);
}
