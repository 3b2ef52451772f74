#pragma once
// One stream: its decoder on a thread of its own, filling a ring that the
// output callback drains. The user-interface thread steers it with the
// transport calls; the callback mixes it and notes which output frame each
// of its frames went out as, so that its position can be told at the play
// head (the output frame being heard).
//
// Threads: the constructor, the destructor and every member but MixInto and
// StartAfter run on the engine's caller (one at a time); MixInto and
// StartAfter run only on the output callback. They meet only in atomics and
// the ring. The decoder thread sleeps while its ring is full, until the
// callback has freed half of it or drops what a seek made stale, or the caller
// seeks or quits: while playing it wakes about three times a second, and a
// stream that is paused, stopped or decoded to its end costs no wake-ups at all.

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
    // Playing or paused; not once stopped or mixed to its end.
    bool IsActive() const;
    // As IsActive, and also while its last frame, mixed already, is not yet
    // heard: while the output frame `head` is before it.
    bool Sounding(std::uint64_t head) const;
    // The frame being heard when the output plays its frame `head`: the last
    // frame mixed less what of it is still queued, never before the frame
    // last sought, and never going back from one call to the next until a
    // seek. Before the output has taken anything of the last seek, that frame.
    std::uint64_t PositionFrames(std::uint64_t head);
    // Playback goes on from `frame`; what was decoded for the old place is dropped.
    void SetPosition(std::uint64_t frame);
    // The kSamples samples mixed up to the one heard at output frame `head`,
    // oldest first.
    void CopyHistory(std::uint64_t head, float* out) const;
    // The stream that the output starts in the same callback, right after
    // this one's last frame, if it is stopped then; nullptr for none. Cleared
    // before the other stream is detached from the mixer.
    void SetSuccessor(Stream* next) { m_successor.store(next, std::memory_order_release); }
    Stream* Successor() const { return m_successor.load(std::memory_order_acquire); }

    struct Mixed {
        std::uint32_t frames = 0; // of `out` this stream sounded in, from its start
        bool ended = false;       // its last frame went out in this call
        bool starved = false;     // playing, it had less decoded than asked
    };
    // Output callback: adds this stream's next `frames` to `out` at `volume`
    // (0..100) if it is playing; `outFrame` is the output frame that `out`
    // starts at, and `round` the output's count of its calls, so that a stream
    // already mixed in this call (as a successor) is not mixed twice. Never
    // locks, allocates or waits.
    Mixed MixInto(std::int16_t* out, std::uint32_t frames, std::uint32_t volume, std::uint64_t outFrame,
                  std::uint64_t round);
    // Output callback: plays a stream that is stopped (a successor whose
    // turn has come); false if it was not stopped.
    bool StartAfter();

private:
    enum State : int { kStopped, kPlaying, kPaused, kEnded };

    // What the callback last told of its output, read as one.
    struct Heard {
        std::uint32_t serial = 0;
        std::uint64_t firstFrame = 0; // the first frame of this serial that went out
        std::uint64_t lastFrame = 0;  // one past the last frame that went out
        std::uint64_t lastOut = 0;    // the output frame one past it
        std::uint64_t history = 0;    // samples in the history then
    };
    Heard ReadHeard() const;
    void WriteHeard(const Heard& heard);

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
    std::atomic<bool> m_quit{false};
    std::atomic<Stream*> m_successor{nullptr};

    // Heard, written by the callback as a sequence lock: odd while a write
    // is under way, so a reader tries again.
    std::atomic<std::uint32_t> m_heardSequence{0};
    std::atomic<std::uint32_t> m_heardSerial;
    std::atomic<std::uint64_t> m_heardFirst{0}, m_heardLast{0}, m_heardOut{0}, m_heardHistory{0};
    // The output frame one past its last frame, once it has ended.
    std::atomic<std::uint64_t> m_endOut{0};

    // User-interface side: the last seek asked for, and the last position told.
    std::uint32_t m_askedSerial = 0;
    std::uint64_t m_askedFrame = 0;
    std::uint64_t m_toldFrame = 0;
    // Callback side: frames of the ring's oldest block already output, the
    // serial last output, and the last call this stream was mixed in.
    std::uint32_t m_readOffset = 0;
    std::uint32_t m_outSerial;
    std::uint64_t m_mixedRound = ~std::uint64_t(0);

    // Counts wake-ups; the decoder sleeps on it while it holds what it last saw.
    std::atomic<std::uint32_t> m_wakeups{0};
    std::thread m_thread;
};
