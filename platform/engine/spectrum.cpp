#include "platform/engine/spectrum.h"

#include <kiss_fftr.h>

#include <cmath>
#include <new>

struct Spectrum::Transform {
    Transform() : plan(kiss_fftr_alloc(int(kSamples), 0, nullptr, nullptr))
    {
        if (!plan) throw std::bad_alloc();
    }
    ~Transform() { kiss_fftr_free(plan); }
    Transform(const Transform&) = delete;
    Transform& operator=(const Transform&) = delete;

    kiss_fftr_cfg plan;
    std::array<kiss_fft_scalar, kSamples> windowed;
    std::array<kiss_fft_cpx, kBins + 1> bins; // up to and with the Nyquist frequency
};

Spectrum::Spectrum() : m_transform(std::make_unique<Transform>())
{
    double sum = 0;
    for (std::size_t i = 0; i < kSamples; ++i) {
        m_window[i] = float(0.5 - 0.5 * std::cos(2 * M_PI * double(i) / double(kSamples)));
        sum += m_window[i];
    }
    // A sine of amplitude A gives a peak of A x (window sum) / 2.
    m_scale = float(2.0 / sum);
}

Spectrum::~Spectrum() = default;

void Spectrum::Compute(const float* samples, float* out)
{
    Transform& transform = *m_transform;
    for (std::size_t i = 0; i < kSamples; ++i) transform.windowed[i] = samples[i] * m_window[i];
    kiss_fftr(transform.plan, transform.windowed.data(), transform.bins.data());
    for (std::size_t k = 0; k < kBins; ++k)
        out[k] = std::hypot(transform.bins[k].r, transform.bins[k].i) * m_scale;
}
