// Creating a playlist from the tracks on screen.

#include "ui/player_dlg.h"

void CPlayerDlg::OnCreatePlaylist() {}
