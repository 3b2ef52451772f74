// The playback model's state, its timer and its units.

#include "playback/playback_model.h"

#include "playback/transport_state.h"
#include "playlists/tables.h"

#include <QTimerEvent>

using namespace lirvan;

namespace {
// MPRIS counts time in microseconds.
constexpr std::uint64_t kMicroseconds = 1'000'000;
} // namespace

PlaybackModel::PlaybackModel(AudioEngine& engine) : m_engine(engine) { }

PlaybackModel::~PlaybackModel() = default;

int PlaybackModel::CurrentTrack() const { return currentTrack; }

int PlaybackModel::TrackCount() const { return lirvan::TrackCount(); }

bool PlaybackModel::TimerRunning() const { return timerId != 0; }

bool PlaybackModel::HasCurrentTrack() const { return currentTrack >= 0 && currentTrack < TrackCount(); }

std::uint64_t PlaybackModel::Length() const { return streamLength; }

std::uint64_t PlaybackModel::Position() const { return m_engine.AudioGetPosition(stream); }

std::int64_t PlaybackModel::MicrosecondsOf(std::uint64_t units)
{
    return static_cast<std::int64_t>(units / kBytesPerSecond * kMicroseconds +
                                     units % kBytesPerSecond * kMicroseconds / kBytesPerSecond);
}

std::uint64_t PlaybackModel::UnitsOf(std::int64_t microseconds)
{
    if (microseconds <= 0) return 0;
    const auto us = static_cast<std::uint64_t>(microseconds);
    // Whole frames, so that a position never splits a sample.
    const std::uint64_t frames =
        us / kMicroseconds * kOutputRate + us % kMicroseconds * kOutputRate / kMicroseconds;
    return frames * kBytesPerFrame;
}

void PlaybackModel::SetState(PlaybackState state)
{
    m_state = state;
    emit StateChanged(state);
}

void PlaybackModel::SetStreamLoaded(bool loaded)
{
    if (loaded == m_streamLoaded) return;
    m_streamLoaded = loaded;
    emit StreamLoadedChanged(loaded);
}

void PlaybackModel::StartTimer()
{
    // Open starts the timer without stopping it first: a running one is replaced.
    if (timerId != 0) killTimer(static_cast<int>(timerId));
    timerId = static_cast<unsigned>(startTimer(static_cast<int>(kPlaybackTimerMs), Qt::PreciseTimer));
}

void PlaybackModel::KillTimer()
{
    if (timerId == 0) return;
    killTimer(static_cast<int>(timerId));
    timerId = 0;
}

void PlaybackModel::timerEvent(QTimerEvent* event)
{
    if (timerId != 0 && static_cast<unsigned>(event->timerId()) == timerId) {
        emit TimerTick(static_cast<unsigned>(event->timerId()));
        return;
    }
    QObject::timerEvent(event);
}
