// Transport: load, play, pause, stop, seek, volume.

#include "playback/level_meter.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSlider>

TransportState g_transport;

void ResetTransportState() { g_transport = {}; }

namespace {
// What the engine is opened with before every load.
constexpr int kOutputDevice = 1;
constexpr std::uint32_t kOutputFlags = 4;
// Volume slider and engine volume both run 0..100, the slider growing downward.
constexpr int kFullVolume = 100;
} // namespace

double PercentUnitOf(std::uint64_t length) { return static_cast<double>(length / 100); }

void CPlayerDlg::LoadTrack(std::string path)
{
    setWindowTitle(QString::fromStdString(TrackTable[currentTrack].name));
    streamLength = 0;
    percentUnit = 0.0;
    positionPercent = 0;
    ResetMeter();
    SelectRow(m_trackList, currentTrack);
    m_platform.engine.AudioInit(kOutputDevice, kOutputRate, kOutputFlags, nullptr, nullptr);
    stream = m_platform.engine.AudioStreamCreateFile(false, path.c_str(), 0, 0, 0);
    if (stream != 0) {
        OnPlay();
    } else {
        OnStop();
    }
}

void CPlayerDlg::OnPlay()
{
    streamLength = m_platform.engine.AudioGetLength(stream);
    percentUnit = PercentUnitOf(streamLength);
    KillTimer(timerId);
    timerId = SetTimer(kPlaybackTimer, kPlaybackTimerMs);
    m_status->setText(QStringLiteral("Играю"));
    m_platform.engine.AudioPlay(stream, false);
    OnVolumeSlider(nullptr, nullptr);
}

void CPlayerDlg::OnPause()
{
    m_platform.engine.AudioPause(stream);
    m_status->setText(QStringLiteral("Пауза"));
    KillTimer(timerId);
}

void CPlayerDlg::OnStop()
{
    m_platform.engine.AudioStop(stream);
    m_status->setText(QStringLiteral("Остановлено"));
    m_platform.engine.AudioStreamFree(stream);
    KillTimer(timerId);
    m_position->setValue(0);
}

void CPlayerDlg::OnPositionSlider(const void*, LRESULT* result)
{
    // The tick records the value it moves the slider to, so only a user's move seeks.
    const int p = m_position->value();
    if (p != positionPercent) {
        m_platform.engine.AudioSetPosition(stream, static_cast<std::uint64_t>(p * percentUnit));
    }
    *result = 0;
}

void CPlayerDlg::OnVolumeSlider(const void*, LRESULT* result)
{
    // Before the first load the engine knows no volume, and the slider has no effect.
    if (m_platform.engine.AudioGetVolume() != kAudioVolumeUnknown) {
        m_platform.engine.AudioSetVolume(static_cast<std::uint32_t>(kFullVolume - m_volume->value()));
    }
    if (result) *result = 0;
}
