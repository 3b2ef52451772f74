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

#include "platform/audio_engine.h"
#include "platform/engine/default_output.h"
#include "platform/engine/output_keeper.h"
#include "platform/engine/spectrum.h"
#include "platform/engine/stream_mixer.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>

class Stream;

class SystemEngine final : public AudioEngine {
public:
    SystemEngine();
    // Ends the output keeper, which closes the device, then frees every
    // stream, joining its decoder thread.
    ~SystemEngine() override;

    LIRVAN_AUDIO_ENGINE_OPERATIONS

private:
    // The live stream of a handle, or nullptr (also before AudioInit).
    Stream* Find(HSTREAM handle);
    // Runs a transport command on a live stream and tells the keeper whether
    // it is now meant to play; false for a dead handle.
    bool Steer(HSTREAM handle, void (Stream::*command)(), bool plays);
    // Keeper's thread: whether a stream was last told to play and has not
    // ended. Takes the lock.
    bool AnyPlaying();

    // Calls may come from any thread; they take turns. The output callback
    // never takes this lock.
    std::mutex m_mutex;
    StreamMixer m_mixer;
    DefaultOutput m_output{m_mixer};
    Spectrum m_spectrum;
    std::map<HSTREAM, std::unique_ptr<Stream>> m_streams;
    // The streams whose last transport command was AudioPlay.
    std::set<HSTREAM> m_played;
    HSTREAM m_lastHandle = 0;
    // Made by AudioInit; it calls back AnyPlaying, so it goes first.
    std::unique_ptr<OutputKeeper> m_keeper;
};
