// The playback timer's tick and the advance to the next track.

#include "playback/level_meter.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"

#include <QLineEdit>
#include <QSlider>

namespace {
constexpr int kSliderSteps = 100;

// The slider value for a position: whole percent of the stream. A stream too
// short to have a unit shows 0, and a position past the last whole percent
// stays at the slider's end, so that the slider's own notification never
// mistakes it for a user's seek.
int PositionPercentOf(std::uint64_t position, double unit)
{
    if (unit <= 0.0) return 0;
    const double percent = static_cast<double>(position) / unit;
    return percent < kSliderSteps ? static_cast<int>(percent) : kSliderSteps;
}
} // namespace

void CPlayerDlg::OnTimer(unsigned)
{
    AudioEngine& engine = m_platform.engine;
    engine.AudioGetData(stream, fftBuffer, kAudioDataFft2048);
    for (int band = 0; band < kMeterBands; ++band) {
        const int bars = MeterStep(MeterBandSum(fftBuffer, band), meterLevel[band], meterQuiet[band]);
        m_meter[band]->setText(QString::fromStdString(MeterText(bars)));
    }

    const std::uint64_t position = engine.AudioGetPosition(stream);
    percentUnit = PercentUnitOf(streamLength);
    // Recorded before the slider moves, so that its notification does not seek.
    positionPercent = PositionPercentOf(position, percentUnit);
    const bool active = engine.AudioIsActive(stream) != 0;
    m_position->setValue(positionPercent);
    if (!active) PlayNext();
}

void CPlayerDlg::PlayNext()
{
    if (trackSlots <= 1) {
        OnStop();
        return;
    }
    ++currentTrack;
    if (currentTrack >= 0 && currentTrack < trackSlots - 1) {
        OnStop();
        LoadTrack(TrackTable[currentTrack].path);
        return;
    }
    // Past the last track: start over at the top.
    currentTrack = -1;
    PlayNext();
}
