// Track list commands: remove, remove all, save.

#include "playlists/playlist_files.h"
#include "playlists/playlist_messages.h"
#include "playlists/playlist_ownership.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"

#include <QListWidget>

void CPlayerDlg::OnRemoveTrack()
{
    const int selectedRow = FirstSelectedRow(m_trackList, trackSlots);
    if (selectedRow < 0) return;
    // The trailing record moves down with the others.
    for (int i = selectedRow; i < trackSlots - 1; ++i) TrackTable[i] = TrackTable[i + 1];
    --trackSlots;
    RefreshTrackList();
}

void CPlayerDlg::OnRemoveAll()
{
    trackSlots = 0;
    OnStop();
    m_trackList->clear();
}

void CPlayerDlg::OnSave()
{
    // Without a playlist in the catalogue there is no file to append to.
    if (currentPlaylist >= playlistCount) {
        ShowError(m_platform.messages, this, kNoPlaylistToSaveText);
        return;
    }
    // A line naming a file that is no playlist file of ours still reads, but is never written.
    if (OwnerOf(PlaylistTable[currentPlaylist].path) == PlaylistFileOwner::Foreign) {
        ShowFileMessage(m_platform.messages, this, kForeignPlaylistFileText, kErrorCaption,
                        PlaylistTable[currentPlaylist].path);
        return;
    }
    const bool written = AppendTracks(PlaylistTable[currentPlaylist], Tracks());
    RefreshPlaylists();
    if (!written) ShowError(m_platform.messages, this, kTracksNotWrittenText);
}
