// Choosing tracks: Open, Add and double-click.

#include "ui/player_dlg.h"

void CPlayerDlg::OnOpen() {}
void CPlayerDlg::OnAdd() {}
void CPlayerDlg::OnTrackDblClk() {}
