// The playback timer's tick and the advance to the next track.

#include "playback/level_meter.h"
#include "playback/playback_model.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"

using namespace lirvan;

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

void PlaybackModel::Tick()
{
    m_engine.AudioGetData(stream, fftBuffer, kAudioDataFft2048);
    for (int band = 0; band < kMeterBands; ++band) {
        emit MeterShown(band, MeterStep(MeterBandSum(fftBuffer, band), meterLevel[band], meterQuiet[band]));
    }

    const std::uint64_t position = m_engine.AudioGetPosition(stream);
    percentUnit = PercentUnitOf(streamLength);
    // Recorded before the slider moves, so that its notification does not seek.
    positionPercent = PositionPercentOf(position, percentUnit);
    const bool active = m_engine.AudioIsActive(stream) != 0;
    emit PositionShown(positionPercent);
    if (!active) Next();
}

void PlaybackModel::Next()
{
    if (TrackCount() == 0) {
        Stop();
        return;
    }
    currentTrack = TrackAfter(currentTrack);
    Stop();
    LoadTrack(TrackTable[currentTrack].path);
}

int PlaybackModel::TrackAfter(int track)
{
    if (lirvan::TrackCount() == 0) return -1;
    ++track;
    // Past the last track: start over at the top.
    return track < 0 || track >= lirvan::TrackCount() ? 0 : track;
}

void PlaybackModel::PrepareNext()
{
    const int next = m_streamLoaded ? TrackAfter(currentTrack) : -1;
    m_engine.AudioPrepareNext(next >= 0 ? TrackTable[next].path.c_str() : "");
}
