// Creating a playlist from the tracks on screen.

#include "playlists/playlist_files.h"
#include "playlists/playlist_messages.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"
#include "ui/sozd_pl.h"

void CPlayerDlg::OnCreatePlaylist()
{
    // Every catalogue record is taken: a further playlist would have none.
    if (playlistCount >= kPlaylistRecords) {
        ShowError(m_platform.messages, this, CatalogueFullText().c_str());
        return;
    }
    SozdPL dialog(m_platform.messages, this);
    dialog.exec();
    const std::string PL_name = dialog.m_newName;
    if (PL_name.empty()) return;

    PList& playlist = PlaylistTable[playlistCount];
    switch (playlist.CreatePlaylistFile(PL_name)) {
    case PList::CreateResult::Exists: ShowError(m_platform.messages, this, kPlaylistExistsText); return;
    case PList::CreateResult::WriteFailed:
        ShowError(m_platform.messages, this, kPlaylistNotCreatedText);
        return;
    case PList::CreateResult::Created: break;
    }
    // The catalogue line is written: the playlist is listed even if its tracks are not all in.
    const bool written = AppendTracks(playlist, Tracks());
    ++playlistCount;
    currentPlaylist = playlistCount - 1;
    RefreshPlaylists();
    if (!written) ShowError(m_platform.messages, this, kTracksNotWrittenText);
}
