#pragma once
// The output device straight through the sound server's own client library
// (PulseAudio, or PipeWire serving its protocol), 44,100 Hz 16-bit stereo, as
// the field's best clients do it: most of a second queued at the server,
// topped up a third of a second at a time (the client's thread wakes at most four times a
// second while playing, not at all while paused); corked at a pause,
// so that it is silent at once and what was queued is heard first at the
// resume; flushed at a stop, a seek and a new track. The volume is the
// stream's own at the server, so a change is heard within the server's
// latency instead of after the queue.
//
// Threads: Open, Close, Lost and Run are called by one thread at a time (the
// output keeper's); Queued, Refill and SetVolume by the engine's caller, never
// during Open or Close; the source is called on the client library's own
// thread, or under its lock.

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
    // playback stream there, corked; false when no server takes it, leaving
    // nothing open, and standard error is told why (once while it stays so).
    bool Open() override;
    // Ends the client's thread and lets go of the stream and the server.
    void Close() override;
    bool Lost() const override { return m_lost.load(std::memory_order_acquire); }
    void Run(bool running) override;
    void ReleaseThread() override { }
    // What was written less what the server has played (its latency,
    // interpolated between its timing updates); the last known while the
    // server does not tell.
    std::uint64_t Queued() override;
    void Refill(bool flush) override;
    void SetVolume(std::uint32_t volume) override;

private:
    static void OnContextState(pa_context* context, void* self);
    static void OnStreamState(pa_stream* stream, void* self);
    static void OnWritable(pa_stream* stream, std::size_t bytes, void* self);
    static void OnRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval* when, void* self);
    // Its lock held: asks the server for the playback stream.
    bool ConnectStream();
    // Its lock held: gives the server what the source has of what it asks
    // for, and asks again shortly while a stream waits for its decoder.
    void Fill();

    SoundSource& m_source;
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    pa_time_event* m_retry = nullptr; // guarded by the client's lock
    bool m_running = false;           // guarded by the client's lock
    std::uint64_t m_queued = 0;       // guarded by the client's lock: the last latency known
    // The connection or the stream failed after it opened: the server went.
    std::atomic<bool> m_lost{false};
};
