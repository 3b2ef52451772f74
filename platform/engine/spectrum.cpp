#include "platform/engine/spectrum.h"

#include <cmath>

namespace {
constexpr int kBits = 11; // kSamples == 1 << kBits
static_assert(Spectrum::kSamples == std::size_t(1) << kBits);
} // namespace

Spectrum::Spectrum()
{
    double sum = 0;
    for (std::size_t i = 0; i < kSamples; ++i) {
        m_window[i] = float(0.5 - 0.5 * std::cos(2 * M_PI * double(i) / double(kSamples)));
        sum += m_window[i];
    }
    // A sine of amplitude A gives a peak of A x (window sum) / 2.
    m_scale = float(2.0 / sum);
    for (std::size_t k = 0; k < kSamples / 2; ++k) {
        const double angle = -2 * M_PI * double(k) / double(kSamples);
        m_cos[k] = float(std::cos(angle));
        m_sin[k] = float(std::sin(angle));
    }
    for (std::size_t i = 0; i < kSamples; ++i) {
        std::size_t reversed = 0;
        for (int bit = 0; bit < kBits; ++bit) reversed |= ((i >> bit) & 1) << (kBits - 1 - bit);
        m_reversed[i] = std::uint16_t(reversed);
    }
}

void Spectrum::Compute(const float* samples, float* out)
{
    for (std::size_t i = 0; i < kSamples; ++i) {
        m_re[m_reversed[i]] = samples[i] * m_window[i];
        m_im[m_reversed[i]] = 0;
    }
    // Butterflies of 2, 4, ... kSamples points, each from two halves done before.
    for (std::size_t size = 2; size <= kSamples; size *= 2) {
        const std::size_t half = size / 2, stride = kSamples / size;
        for (std::size_t start = 0; start < kSamples; start += size) {
            for (std::size_t k = 0; k < half; ++k) {
                const std::size_t even = start + k, odd = even + half;
                const float c = m_cos[k * stride], s = m_sin[k * stride];
                const float re = m_re[odd] * c - m_im[odd] * s;
                const float im = m_re[odd] * s + m_im[odd] * c;
                m_re[odd] = m_re[even] - re;
                m_im[odd] = m_im[even] - im;
                m_re[even] += re;
                m_im[even] += im;
            }
        }
    }
    for (std::size_t k = 0; k < kBins; ++k) out[k] = std::hypot(m_re[k], m_im[k]) * m_scale;
}
