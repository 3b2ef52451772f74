#pragma once
// The engine the player drives: streams decoded by libmpg123, FFmpeg or
// FluidSynth, played through one output (the sound server's, or SDL's; see
// DefaultOutput). Handles count up from 1 and are never handed out twice in a
// run, so a freed handle stays dead.
//
// The output device is not the caller's business: it opens when a stream
// plays, pauses and lets go when none does, and is reopened when the sound
// server goes and comes back (see OutputKeeper). No call waits for it but
// stream creation, and that only while a device is being opened or closed at
// that moment. While there is none, a playing stream holds its position.
// Positions, the spectrum and whether a stream is active are told at the play
// head: what is being heard, not what was handed to the device.
//
// Gapless advance: AudioPrepareNext opens a stream ahead; the output starts it
// right after the last frame of the stream last played, in the same callback,
// and the next AudioStreamCreateFile for its path hands it back (already
// sounding, or still stopped at 0 if its turn has not come), so that the
// AudioPlay that follows goes on without a restart. One that the output started
// but that is not the one then created is freed; one not started yet stays
// until another is prepared. A failed open says why on standard error, once.

#include "platform/audio_engine.h"
#include "platform/engine/default_output.h"
#include "platform/engine/failure_note.h"
#include "platform/engine/output_keeper.h"
#include "platform/engine/spectrum.h"
#include "platform/engine/stream_mixer.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

class Stream;

class SystemEngine final : public AudioEngine {
public:
    SystemEngine();
    // Ends the output keeper, which closes the device, then frees every
    // stream, joining its decoder thread.
    ~SystemEngine() override;

    LIRVAN_AUDIO_ENGINE_OPERATIONS

private:
    // A stream opened ahead for a path, without a handle.
    struct Ahead {
        std::string path;
        std::unique_ptr<Stream> stream;
    };

    // The live stream of a handle, or nullptr (also before AudioInit).
    Stream* Find(HSTREAM handle);
    // No lock: a stream of the file at path, or nullptr when it cannot be
    // played (said once on standard error).
    std::unique_ptr<Stream> Open(const char* path);
    // The lock held: a prepared stream that the output has started becomes
    // the successor waiting for its handle.
    void Settle();
    // The lock held: the prepared stream follows the successor if there is
    // one, else the stream last played; no other stream is followed.
    void Relink();
    // The lock held: unlinks and detaches a stream without a handle.
    void Forget(Ahead& ahead);
    // Runs a transport command on a live stream and tells the keeper whether
    // it is now meant to play; false for a dead handle.
    bool Steer(HSTREAM handle, void (Stream::*command)(), bool plays);
    // Keeper's thread: whether a stream was last told to play (or started as
    // a successor) and is still heard. Takes the lock.
    bool AnyPlaying();
    // Keeper's thread, a device having closed with sound queued: what was
    // not heard is played again from the output frame `head`. Takes the lock.
    void QueueLost(std::uint64_t head);

    // Calls may come from any thread; they take turns. The output callback
    // never takes this lock.
    std::mutex m_mutex;
    StreamMixer m_mixer;
    DefaultOutput m_output{m_mixer, [this](std::uint64_t head) { QueueLost(head); }};
    Spectrum m_spectrum;
    std::map<HSTREAM, std::unique_ptr<Stream>> m_streams;
    // The streams whose last transport command was AudioPlay.
    std::set<HSTREAM> m_played;
    HSTREAM m_lastHandle = 0;
    HSTREAM m_current = 0; // the stream last played
    Ahead m_prepared;      // opened ahead, stopped
    Ahead m_successor;     // started by the output, not yet handed out
    FailureNote m_openNote;
    // Made by AudioInit; it calls back AnyPlaying, so it goes first.
    std::unique_ptr<OutputKeeper> m_keeper;
};
