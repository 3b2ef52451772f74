#pragma once
// The one truth about what plays: the transport state, the current track, the
// stream's position and length, the volume, and the operations that change
// them. The window, MPRIS, the command line, drops and a second launch are all
// clients: they call the operations and follow the notifications; none keeps
// a state of its own or reads one back out of a widget.
//
// The state lives where the player has always kept it (the transport, meter
// and table globals: stream, streamLength, percentUnit, positionPercent,
// currentTrack, trackSlots, TrackTable); this class is its only writer on the
// playback side.
//
// Threads: user-interface thread only. Notifications are emitted synchronously
// from inside the operation that causes them, in the order the operation does
// its steps; the engine is called in the order the transport has always called it.

#include "platform/audio_engine.h"

#include <QObject>
#include <cstdint>
#include <string>
#include <vector>

enum class PlaybackState { Stopped, Playing, Paused };

// The engine's full volume: where a volume starts, and the volume slider's top
// (the slider grows downward, so its value is kFullVolume less the volume).
inline constexpr int kFullVolume = 100;

class PlaybackModel final : public QObject {
    Q_OBJECT
public:
    // engine must outlive the model. Nothing is called on it before the first operation.
    explicit PlaybackModel(AudioEngine& engine);
    ~PlaybackModel() override;

    // --- State ---
    PlaybackState State() const { return m_state; }
    int CurrentTrack() const;
    // Tracks in the table, the trailing record not counted.
    int TrackCount() const;
    // Whether the current track is one of the listed ones.
    bool HasCurrentTrack() const;
    // Whether a stream was created by the last load and not stopped since.
    bool StreamLoaded() const { return m_streamLoaded; }
    // In engine units (bytes of 16-bit stereo at 44,100 Hz); 0 until playback
    // starts or when the engine does not know it.
    std::uint64_t Length() const;
    // Where the stream is now, asked of the engine; 0 without a stream.
    std::uint64_t Position() const;
    // Engine volume 0..100 (100 full); what the volume slider shows, inverted.
    int Volume() const { return m_volume; }
    bool TimerRunning() const;

    // --- Operations ---
    // Play: re-reads the length, restarts the timer, resumes or goes on, and applies the volume.
    void Play();
    void Pause();
    // Stops and frees the stream, stops the timer, puts the shown position at 0.
    void Stop();
    // Stops, makes index current and loads it: the double-click. A restart of
    // the current track counts as a jump of the position (Seeked).
    void PlayTrack(int index);
    // The next track, after the last the first; stops with an empty table.
    void Next();
    // The track before, before the first the last; nothing with an empty table.
    void Previous();
    // Moves the stream to position (engine units). Seeked when the engine took
    // it; false (and nothing sent) for a dead or missing stream.
    bool SeekTo(std::uint64_t position);
    // The position slider stood at percent (0..100): seeks there unless it is
    // where the last tick put it, so the timer's own moves never seek.
    void SeekToPercent(int percent);
    // Sets the output volume (0..100), applied at once once the engine has
    // been initialised, and at every Play.
    void SetVolume(int volume);
    // Replaces the tracks with paths (as many as the table holds) and plays
    // the current one; nothing without paths. Returns how many did not fit.
    std::size_t OpenTracks(const std::vector<std::string>& paths);
    // Appends paths after the tracks, touching nothing that plays. Returns how many did not fit.
    std::size_t AddTracks(const std::vector<std::string>& paths);
    // The track table was changed by a playlist command: the lists follow, and
    // the engine is told anew which track the advance would load.
    void RefreshTrackList();
    // One tick of the playback timer: the meter, the shown position, and the
    // advance to the next track when the stream has ended.
    void Tick();
    // Creates a stream for path and plays it; the caller has stopped first and
    // made the track current.
    void LoadTrack(std::string path);

    // Engine units and MPRIS's microseconds.
    static std::int64_t MicrosecondsOf(std::uint64_t units);
    static std::uint64_t UnitsOf(std::int64_t microseconds);

signals:
    // Each time an operation sets the state, also to the one it had.
    void StateChanged(PlaybackState state);
    // A track was made current and is being loaded (title and selection).
    void TrackLoaded(int index);
    // The track table changed: the list shows it anew.
    void TracksChanged();
    // The stream's length was read (at every Play).
    void LengthChanged(std::uint64_t length);
    // Whether a stream is loaded changed.
    void StreamLoadedChanged(bool loaded);
    // The position slider is to show percent (the tick, a stop).
    void PositionShown(int percent);
    // The band's meter is to show that many bars (every tick, each band).
    void MeterShown(int band, int bars);
    void VolumeChanged(int volume);
    // The position jumped: a seek the engine took, or a restart of the current track.
    void Seeked(std::uint64_t position);
    // Chosen files the track table had no room for.
    void TracksLeftOut(std::size_t count);
    // The playback timer fired: the window's tick handler runs Tick().
    void TimerTick(unsigned id);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void SetState(PlaybackState state);
    void SetStreamLoaded(bool loaded);
    void StartTimer();
    void KillTimer();
    void ApplyVolume();
    // Tells the engine the path the timer's advance would load now (empty
    // when no stream plays or the table is empty), so that it may open it
    // ahead. Kept apart from the transport's calls, whose order it never changes.
    void PrepareNext();
    // The track the advance goes to after track: the next, after the last the
    // first; -1 with an empty table.
    static int TrackAfter(int track);
    // Enters paths as the tracks from record first on; returns how many were entered.
    static int EnterTracks(int first, const std::vector<std::string>& paths);

    AudioEngine& m_engine;
    PlaybackState m_state = PlaybackState::Stopped;
    bool m_streamLoaded = false;
    int m_volume = kFullVolume;
};
