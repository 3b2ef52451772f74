// The playback timer's tick and the advance to the next track.

#include "playback/level_meter.h"
#include "ui/player_dlg.h"

void CPlayerDlg::OnTimer(unsigned) {}
void CPlayerDlg::PlayNext() {}

float fftBuffer[kSpectrumValues] = {};
double meterLevel[kMeterBands] = {};
int meterQuiet[kMeterBands] = {};
