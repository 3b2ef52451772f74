#pragma once
// The last samples of a stream that reached the output, as a mono mix, for the
// spectrum. The output callback writes, the user-interface thread reads; every
// cell is atomic so a read that overlaps a write sees old or new samples, never
// torn ones.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

class SampleHistory {
public:
    static constexpr std::size_t kSize = 2048;

    // Output callback: appends the mono mix of interleaved stereo frames.
    void Append(const std::int16_t* stereo, std::size_t frames)
    {
        std::size_t written = m_written.load(std::memory_order_relaxed);
        for (std::size_t i = 0; i < frames; ++i, ++written) {
            const float mono = (float(stereo[2 * i]) + float(stereo[2 * i + 1])) * (0.5f / 32768.0f);
            m_samples[written % kSize].store(mono, std::memory_order_relaxed);
        }
        m_written.store(written, std::memory_order_release);
    }

    // The last kSize samples, oldest first; silence where nothing played yet.
    void CopyLatest(float* out) const
    {
        const std::size_t written = m_written.load(std::memory_order_acquire);
        for (std::size_t i = 0; i < kSize; ++i)
            out[i] = m_samples[(written + i) % kSize].load(std::memory_order_relaxed);
    }

private:
    std::array<std::atomic<float>, kSize> m_samples{};
    std::atomic<std::size_t> m_written{0};
};
