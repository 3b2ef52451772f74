// Deleting the selected playlist.

#include "ui/player_dlg.h"

void CPlayerDlg::OnDeletePlaylist() {}
