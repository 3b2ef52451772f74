// The catalogue of playlists and loading a playlist's file.

#include "platform/text_file.h"
#include "playlists/file_readers.h"
#include "playlists/playlist_paths.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"

#include <QListWidget>

namespace {

void EmptyLists(QListWidget* playlists, QListWidget* tracks)
{
    {
        const QSignalBlocker quiet(playlists);
        playlists->clear();
    }
    tracks->clear();
}

} // namespace

void CPlayerDlg::LoadCatalogue()
{
    playlistCount = 0;
    currentPlaylist = 0;
    currentTrack = 0;
    trackSlots = 0;
    auto catalogue = TextFile::Open(CataloguePath(), TextFile::Access::Read);
    // The lists follow the emptied counters: playlists that cannot be read are not shown.
    if (!catalogue) {
        EmptyLists(m_playlistList, m_trackList);
        return;
    }
    const CatalogueRead read = ReadCatalogue(*catalogue, PlaylistTable);
    catalogue->Close();
    playlistCount = read.entries;
    if (read.separatorSeen) {
        RefreshPlaylists();
        return;
    }
    EmptyLists(m_playlistList, m_trackList);
    OnStop();
}

void CPlayerDlg::RefreshPlaylists()
{
    {
        // Emptying a list with a selection would otherwise report a selection change.
        const QSignalBlocker quiet(m_playlistList);
        m_playlistList->clear();
        for (int i = 0; i < playlistCount; ++i) {
            m_playlistList->insertItem(i, QString::fromStdString(PlaylistTable[i].name));
        }
    }
    SelectRow(m_playlistList, currentPlaylist);
    OnPlaylistSelChange();
}

void CPlayerDlg::OnPlaylistSelChange()
{
    if (const int selected = FirstSelectedRow(m_playlistList, playlistCount); selected >= 0) {
        currentPlaylist = selected;
    }
    trackSlots = 0;
    // A record beyond the catalogue is no listed playlist: there is nothing to load.
    if (currentPlaylist < playlistCount) {
        if (auto playlist = TextFile::Open(PlaylistTable[currentPlaylist].path, TextFile::Access::Read)) {
            trackSlots = ReadPlaylistFile(*playlist, TrackTable);
            playlist->Close();
        }
    }
    // Also when the file could not be read, so the list matches the empty table.
    RefreshTrackList();
}
