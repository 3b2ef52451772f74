#pragma once
// The output device straight through the sound server's own client library
// (PulseAudio, or PipeWire serving its protocol), 44,100 Hz 16-bit stereo: the
// server asks for the engine's mix when half of what it holds has played, so
// the client's thread wakes about twenty times a second while playing and not
// at all while paused (SDL's client wakes four times as often for the same).
//
// About 100 ms is queued at the server: a pause, a seek or a new track is
// heard within that.
//
// Threads: Open, Close, Lost and Run are called by one thread at a time (the
// output keeper's); the source is called on the client library's own thread.

#include "platform/engine/output_device.h"
#include "platform/engine/sound_source.h"

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstddef>

class PulseOutput final : public OutputDevice {
public:
    // `source` outlives the output.
    explicit PulseOutput(SoundSource& source) : m_source(source) { }
    // Closes the stream; the source is not called afterwards.
    ~PulseOutput() override;
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    // Connects to the default server, never starting one, and opens a
    // playback stream there, paused; false when no server takes it, leaving
    // nothing open.
    bool Open() override;
    // Ends the client's thread and lets go of the stream and the server.
    void Close() override;
    bool Lost() const override { return m_lost.load(std::memory_order_acquire); }
    void Run(bool running) override;
    void ReleaseThread() override { }

private:
    static void OnContextState(pa_context* context, void* self);
    static void OnStreamState(pa_stream* stream, void* self);
    static void OnWritable(pa_stream* stream, std::size_t bytes, void* self);
    // Its lock held: asks the server for the playback stream.
    bool ConnectStream();
    // Its lock held: gives the server `bytes` of the source's sound.
    void Fill(std::size_t bytes);

    SoundSource& m_source;
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    bool m_running = false; // guarded by the client's lock
    // The connection or the stream failed after it opened: the server went.
    std::atomic<bool> m_lost{false};
};
