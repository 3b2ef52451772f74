// The main window's handlers: each hands the user's input to the playback
// model or to a playlist command, and nothing more.

#include "playback/choosing.h"
#include "playback/playback_model.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"
#include "ui/sozd_pl.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QSlider>

void CPlayerDlg::OnPlay() { m_platform.model.Play(); }

void CPlayerDlg::OnPause() { m_platform.model.Pause(); }

void CPlayerDlg::OnStop() { m_platform.model.Stop(); }

void CPlayerDlg::OnPositionSlider(const void*, LRESULT* result)
{
    m_platform.model.SeekToPercent(m_position->value());
    *result = 0;
}

void CPlayerDlg::OnVolumeSlider(const void*, LRESULT* result)
{
    m_platform.model.SetVolume(kFullVolume - m_volume->value());
    if (result) *result = 0;
}

void CPlayerDlg::OnTimer(unsigned) { m_platform.model.Tick(); }

void CPlayerDlg::OnOpen() { m_platform.model.OpenTracks(ChooseTrackFiles(m_platform.chooser)); }

void CPlayerDlg::OnAdd() { m_platform.model.AddTracks(ChooseTrackFiles(m_platform.chooser)); }

void CPlayerDlg::OnTrackDblClk()
{
    // Without a selected track there is nothing to play.
    if (const int clicked = SelectedTrackRow(); clicked >= 0) m_platform.model.PlayTrack(clicked);
}

void CPlayerDlg::LoadCatalogue() { ::LoadCatalogue(*this); }

void CPlayerDlg::RefreshPlaylists()
{
    {
        // Emptying a list with a selection would otherwise report a selection change.
        const QSignalBlocker quiet(m_playlistList);
        m_playlistList->clear();
        for (int i = 0; i < lirvan::playlistCount; ++i) {
            m_playlistList->insertItem(i, QString::fromStdString(lirvan::PlaylistTable[i].name));
        }
    }
    SelectRow(m_playlistList, lirvan::currentPlaylist);
    OnPlaylistSelChange();
}

void CPlayerDlg::OnPlaylistSelChange() { LoadSelectedPlaylist(*this); }

void CPlayerDlg::OnCreatePlaylist() { CreatePlaylist(*this); }

void CPlayerDlg::OnRemoveTrack() { RemoveSelectedTrack(*this); }

void CPlayerDlg::OnRemoveAll() { RemoveAllTracks(*this); }

void CPlayerDlg::OnSave() { SaveTrackList(*this); }

void CPlayerDlg::OnDeletePlaylist() { DeleteSelectedPlaylist(*this); }

int CPlayerDlg::SelectedPlaylistRow() { return FirstSelectedRow(m_playlistList, lirvan::playlistCount); }

int CPlayerDlg::SelectedTrackRow() { return FirstSelectedRow(m_trackList, m_platform.model.TrackCount()); }

std::string CPlayerDlg::AskPlaylistName()
{
    SozdPL dialog(m_platform.messages, this);
    dialog.exec();
    return dialog.m_newName;
}

void CPlayerDlg::RefreshTrackList() { m_platform.model.RefreshTrackList(); }

void CPlayerDlg::EmptyLists()
{
    {
        const QSignalBlocker quiet(m_playlistList);
        m_playlistList->clear();
    }
    m_trackList->clear();
}
