// The catalogue of playlists and loading a playlist's file.

#include "playlists/tables.h"
#include "ui/player_dlg.h"

void CPlayerDlg::LoadCatalogue() {}
void CPlayerDlg::RefreshPlaylists() {}
void CPlayerDlg::OnPlaylistSelChange() {}
