// Transport: load, play, pause, stop, seek, volume.

#include "playback/level_meter.h"
#include "playback/playback_model.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"

#include <algorithm>

using namespace lirvan;

namespace lirvan {
TransportState g_transport;
void ResetTransportState() { g_transport = {}; }
} // namespace lirvan

double PercentUnitOf(std::uint64_t length) { return static_cast<double>(length / 100); }

void PlaybackModel::LoadTrack(std::string path)
{
    emit TrackLoaded(currentTrack);
    streamLength = 0;
    percentUnit = 0.0;
    positionPercent = 0;
    ResetMeter();
    // Every load opens the engine again; a repeat is harmless.
    m_engine.AudioInit();
    stream = m_engine.AudioStreamCreateFile(path.c_str());
    SetStreamLoaded(stream != 0);
    if (stream != 0) {
        Play();
    } else {
        Stop();
    }
    PrepareNext();
}

void PlaybackModel::Play()
{
    streamLength = m_engine.AudioGetLength(stream);
    percentUnit = PercentUnitOf(streamLength);
    emit LengthChanged(streamLength);
    KillTimer();
    StartTimer();
    SetState(PlaybackState::Playing);
    m_engine.AudioPlay(stream);
    ApplyVolume();
}

void PlaybackModel::Pause()
{
    m_engine.AudioPause(stream);
    SetState(PlaybackState::Paused);
    KillTimer();
}

void PlaybackModel::Stop()
{
    m_engine.AudioStop(stream);
    SetState(PlaybackState::Stopped);
    m_engine.AudioStreamFree(stream);
    SetStreamLoaded(false);
    KillTimer();
    emit PositionShown(0);
}

bool PlaybackModel::SeekTo(std::uint64_t position)
{
    if (!m_engine.AudioSetPosition(stream, position)) return false;
    emit Seeked(position);
    return true;
}

void PlaybackModel::SeekToPercent(int percent)
{
    // The tick records the value it shows, so only a move by someone else seeks.
    if (percent != positionPercent) SeekTo(static_cast<std::uint64_t>(percent * percentUnit));
}

void PlaybackModel::SetVolume(int volume)
{
    volume = std::clamp(volume, 0, kFullVolume);
    if (volume != m_volume) {
        m_volume = volume;
        emit VolumeChanged(volume);
    }
    ApplyVolume();
}

void PlaybackModel::ApplyVolume()
{
    // Before the first load the engine knows no volume: the volume waits for the first Play.
    if (m_engine.AudioGetVolume() != kAudioVolumeUnknown) {
        m_engine.AudioSetVolume(static_cast<std::uint32_t>(m_volume));
    }
}
