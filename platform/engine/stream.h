#pragma once
// One stream: its decoder on a thread of its own, filling a ring that the
// output callback drains. The user-interface thread steers it with the
// transport calls; the callback mixes it and tells where playback has got to.
//
// Threads: the constructor, the destructor and every member but MixInto run on
// the engine's caller (one at a time); MixInto runs only on the output
// callback. They meet only in atomics and the ring. The decoder thread sleeps
// while its ring is full, until the callback has freed half of it or drops
// what a seek made stale, or the caller seeks or quits: while playing it wakes
// about three times a second, and a stream that is paused, stopped or decoded
// to its end costs no wake-ups at all.

#include "platform/engine/block_ring.h"
#include "platform/engine/decoder.h"
#include "platform/engine/sample_history.h"

#include <atomic>
#include <thread>

class Stream {
public:
    // Starts decoding ahead at once; the stream itself is stopped at frame 0.
    explicit Stream(std::unique_ptr<Decoder> decoder);
    // Stops and joins the decoder thread.
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    std::uint64_t LengthFrames() const { return m_lengthFrames; }
    void Play() { m_state.store(kPlaying, std::memory_order_release); }
    void Pause() { m_state.store(kPaused, std::memory_order_release); }
    void Stop() { m_state.store(kStopped, std::memory_order_release); }
    // Playing or paused; not once stopped or played to the end.
    bool IsActive() const;
    // The frame the output has reached, or the frame last sought while the
    // output has not reached it yet.
    std::uint64_t PositionFrames() const;
    // Playback goes on from `frame`; what was decoded for the old place is dropped.
    void SetPosition(std::uint64_t frame);
    // The last samples that reached the output, oldest first.
    void CopyHistory(float* out) const { m_history.CopyLatest(out); }

    // Output callback: adds this stream's next `frames` to `out` at `volume`
    // (0..100) if it is playing; never locks, allocates or waits.
    void MixInto(std::int16_t* out, std::uint32_t frames, std::uint32_t volume);

private:
    enum State : int { kStopped, kPlaying, kPaused, kEnded };

    void DecodeLoop();
    // Any thread, the callback too: ends the decoder's sleep, or the one it is
    // about to begin. Never locks or blocks.
    void Wake();

    const std::unique_ptr<Decoder> m_decoder;
    const std::uint64_t m_lengthFrames;
    BlockRing m_ring;
    SampleHistory m_history;

    std::atomic<int> m_state{kStopped};
    // Each seek takes the next serial; blocks of older serials are dropped.
    std::atomic<std::uint32_t> m_serial{0};
    std::atomic<std::uint64_t> m_seekFrame{0};
    // The serial the decoder has decoded to the end for.
    std::atomic<std::uint32_t> m_finishedSerial;
    // Serial and frame of the last audio output, packed so they are read
    // together; no serial's before the first.
    std::atomic<std::uint64_t> m_delivered;
    std::atomic<bool> m_quit{false};

    // User-interface side: the last seek asked for.
    std::uint32_t m_askedSerial = 0;
    std::uint64_t m_askedFrame = 0;
    // Callback side: frames of the ring's oldest block already output.
    std::uint32_t m_readOffset = 0;

    // Counts wake-ups; the decoder sleeps on it while it holds what it last saw.
    std::atomic<std::uint32_t> m_wakeups{0};
    std::thread m_thread;
};
