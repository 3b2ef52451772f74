#pragma once
// The spectrum the level meter draws: 2,048 samples through a Hann window and
// a radix-2 FFT, 1,024 magnitudes, lowest frequency first, scaled so a
// full-scale sine peaks at about 1.0.
//
// One transform of one fixed size, eleven times a second: a library's planner
// and codelets would page in a couple of MiB for it, so it is done here.

#include <array>
#include <cstddef>
#include <cstdint>

class Spectrum {
public:
    static constexpr std::size_t kSamples = 2048;
    static constexpr std::size_t kBins = kSamples / 2;

    Spectrum();

    // Writes exactly kBins magnitudes of `samples` (kSamples of them) to `out`.
    // Not reentrant: one call at a time per object.
    void Compute(const float* samples, float* out);

private:
    std::array<float, kSamples> m_window;
    float m_scale = 0;
    // e^(-2 pi i k / kSamples) for k below kSamples / 2.
    std::array<float, kSamples / 2> m_cos, m_sin;
    std::array<std::uint16_t, kSamples> m_reversed; // each index with its bits reversed
    std::array<float, kSamples> m_re, m_im;         // the transform, in place
};
