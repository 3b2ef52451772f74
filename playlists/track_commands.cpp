// Track list commands: remove, remove all, save.

#include "playlists/playlist_files.h"
#include "playlists/playlist_messages.h"
#include "playlists/playlist_ownership.h"
#include "playlists/playlist_window.h"
#include "playlists/tables.h"

using namespace lirvan;

void RemoveSelectedTrack(PlaylistWindow& window)
{
    const int selectedRow = window.SelectedTrackRow();
    if (selectedRow < 0) return;
    // The trailing record moves down with the others.
    for (int i = selectedRow; i < TrackCount(); ++i) TrackTable[i] = TrackTable[i + 1];
    --trackSlots;
    window.RefreshTrackList();
}

void RemoveAllTracks(PlaylistWindow& window)
{
    trackSlots = 0;
    window.StopPlayback();
    window.RefreshTrackList();
}

void SaveTrackList(PlaylistWindow& window)
{
    // Without a playlist in the catalogue there is no file to append to.
    if (currentPlaylist >= playlistCount) {
        ShowError(window.Messages(), window.Owner(), kNoPlaylistToSaveText);
        return;
    }
    // A line naming a file that is no playlist file of ours still reads, but is never written.
    if (OwnerOf(PlaylistTable[currentPlaylist].path) == PlaylistFileOwner::Foreign) {
        ShowFileMessage(window.Messages(), window.Owner(), kForeignPlaylistFileText, kErrorCaption,
                        PlaylistTable[currentPlaylist].path);
        return;
    }
    const bool written = AppendTracks(PlaylistTable[currentPlaylist], Tracks());
    window.RefreshPlaylists();
    if (!written) ShowError(window.Messages(), window.Owner(), kTracksNotWrittenText);
}
