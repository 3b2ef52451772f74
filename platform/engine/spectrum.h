#pragma once
// The spectrum the level meter draws: 2,048 samples through a Hann window and
// KissFFT's real transform, 1,024 magnitudes, lowest frequency first, scaled
// so a full-scale sine peaks at about 1.0.

#include <array>
#include <cstddef>
#include <memory>

class Spectrum {
public:
    static constexpr std::size_t kSamples = 2048;
    static constexpr std::size_t kBins = kSamples / 2;

    // Plans the transform once; throws std::bad_alloc when it cannot.
    Spectrum();
    ~Spectrum();
    Spectrum(const Spectrum&) = delete;
    Spectrum& operator=(const Spectrum&) = delete;

    // Writes exactly kBins magnitudes of `samples` (kSamples of them) to `out`.
    // Not reentrant: one call at a time per object.
    void Compute(const float* samples, float* out);

private:
    // KissFFT's plan and the buffers it works in, kept out of this header.
    struct Transform;

    std::array<float, kSamples> m_window;
    float m_scale = 0;
    std::unique_ptr<Transform> m_transform;
};
