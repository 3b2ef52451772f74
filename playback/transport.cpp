// Transport: load, play, pause, stop, seek, volume.

#include "playback/transport_state.h"
#include "ui/player_dlg.h"

void CPlayerDlg::LoadTrack(std::string) {}
void CPlayerDlg::OnPlay() {}
void CPlayerDlg::OnPause() {}
void CPlayerDlg::OnStop() {}
void CPlayerDlg::OnPositionSlider(const void*, LRESULT* result) { *result = 0; }
void CPlayerDlg::OnVolumeSlider(const void*, LRESULT* result)
{
    if (result) *result = 0;
}

HSTREAM stream = 0;
unsigned timerId = 0;
std::uint64_t streamLength = 0;
double percentUnit = 0.0;
int positionPercent = 0;
