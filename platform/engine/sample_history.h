#pragma once
// The last samples of a stream that were handed to the output, as a mono mix,
// for the spectrum at the play head: long enough to reach back over the sound
// server's queue. The output callback writes, the user-interface thread reads;
// every cell is atomic so a read that overlaps a write sees old or new
// samples, never torn ones.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

class SampleHistory {
public:
    // What the spectrum takes.
    static constexpr std::size_t kSize = 2048;
    // 1.5 s kept: the server's queue (0.66 s) and its sink's
    // latency, with room to spare; older samples are overwritten.
    static constexpr std::size_t kKept = 65536;

    // Output callback: appends the mono mix of interleaved stereo frames.
    void Append(const std::int16_t* stereo, std::size_t frames)
    {
        std::size_t written = m_written.load(std::memory_order_relaxed);
        for (std::size_t i = 0; i < frames; ++i, ++written) {
            const float mono = (float(stereo[2 * i]) + float(stereo[2 * i + 1])) * (0.5f / 32768.0f);
            m_samples[written % kKept].store(mono, std::memory_order_relaxed);
        }
        m_written.store(written, std::memory_order_release);
    }
    // Samples appended so far.
    std::size_t Written() const { return m_written.load(std::memory_order_acquire); }

    // The kSize samples before sample `end` (counted as Written counts),
    // oldest first; silence where nothing played yet. An `end` past what was
    // written, or older than what is kept, is taken as near as it can be.
    void CopyEndingAt(std::size_t end, float* out) const
    {
        const std::size_t written = Written();
        if (end > written) end = written;
        if (written - end > kKept - kSize) end = written - (kKept - kSize);
        for (std::size_t i = 0; i < kSize; ++i) {
            const bool before = end + i < kSize; // before the first sample
            out[i] = before ? 0.0f : m_samples[(end + i - kSize) % kKept].load(std::memory_order_relaxed);
        }
    }

private:
    std::array<std::atomic<float>, kKept> m_samples{};
    std::atomic<std::size_t> m_written{0};
};
