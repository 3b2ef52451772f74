#pragma once
// The spectrum the level meter draws: 2,048 samples through a Hann window and
// FFTW's single-precision real FFT, 1,024 magnitudes, lowest frequency first,
// scaled so a full-scale sine peaks at about 1.0.

#include <array>
#include <cstddef>

struct fftwf_plan_s;

class Spectrum {
public:
    static constexpr std::size_t kSamples = 2048;
    static constexpr std::size_t kBins = kSamples / 2;

    Spectrum();
    ~Spectrum();
    Spectrum(const Spectrum&) = delete;
    Spectrum& operator=(const Spectrum&) = delete;

    // Writes exactly kBins magnitudes of `samples` (kSamples of them) to `out`.
    // The first call makes FFTW's plan.
    void Compute(const float* samples, float* out);

private:
    std::array<float, kSamples> m_window;
    float m_scale = 0;
    float* m_in = nullptr;
    void* m_out = nullptr; // fftwf_complex[kBins + 1]
    fftwf_plan_s* m_plan = nullptr;
};
