// Track list commands: remove, remove all, save.

#include "ui/player_dlg.h"

void CPlayerDlg::OnRemoveTrack() {}
void CPlayerDlg::OnRemoveAll() {}
void CPlayerDlg::OnSave() {}
