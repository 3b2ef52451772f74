// The catalogue of playlists and loading a playlist's file.

#include "platform/text_file.h"
#include "playlists/file_readers.h"
#include "playlists/playlist_paths.h"
#include "playlists/playlist_window.h"
#include "playlists/tables.h"

using namespace lirvan;

void LoadCatalogue(PlaylistWindow& window)
{
    playlistCount = 0;
    currentPlaylist = 0;
    currentTrack = 0;
    trackSlots = 0;
    auto catalogue = TextFile::Open(CataloguePath(), TextFile::Access::Read);
    // The lists follow the emptied counters: playlists that cannot be read are not shown.
    if (!catalogue) {
        window.EmptyLists();
        return;
    }
    const CatalogueRead read = ReadCatalogue(*catalogue, PlaylistTable);
    catalogue->Close();
    playlistCount = read.entries;
    if (read.separatorSeen) {
        window.RefreshPlaylists();
        return;
    }
    window.EmptyLists();
    window.StopPlayback();
}

void LoadSelectedPlaylist(PlaylistWindow& window)
{
    if (const int selected = window.SelectedPlaylistRow(); selected >= 0) currentPlaylist = selected;
    trackSlots = 0;
    // A record beyond the catalogue is no listed playlist: there is nothing to load.
    if (currentPlaylist < playlistCount) {
        if (auto playlist = TextFile::Open(PlaylistTable[currentPlaylist].path, TextFile::Access::Read)) {
            trackSlots = ReadPlaylistFile(*playlist, TrackTable);
            playlist->Close();
        }
    }
    // Also when the file could not be read, so the list matches the empty table.
    window.RefreshTrackList();
}
