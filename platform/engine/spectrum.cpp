#include "platform/engine/spectrum.h"

#include <cmath>
#include <fftw3.h>
#include <mutex>

namespace {

// FFTW's planner is not thread-safe; engines on several threads take turns.
std::mutex& PlannerMutex()
{
    static std::mutex mutex;
    return mutex;
}

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
}

Spectrum::~Spectrum()
{
    if (m_plan) {
        std::lock_guard<std::mutex> lock(PlannerMutex());
        fftwf_destroy_plan(m_plan);
    }
    fftwf_free(m_in);
    fftwf_free(m_out);
}

void Spectrum::Compute(const float* samples, float* out)
{
    // Planned at the first use, not at start-up: planning pages in a couple
    // of MiB of FFTW that a session playing nothing never needs.
    if (!m_plan) {
        m_in = fftwf_alloc_real(kSamples);
        fftwf_complex* bins = fftwf_alloc_complex(kBins + 1);
        m_out = bins;
        std::lock_guard<std::mutex> lock(PlannerMutex());
        m_plan = fftwf_plan_dft_r2c_1d(int(kSamples), m_in, bins, FFTW_ESTIMATE);
    }
    for (std::size_t i = 0; i < kSamples; ++i) m_in[i] = samples[i] * m_window[i];
    fftwf_execute(m_plan);
    const fftwf_complex* bins = static_cast<const fftwf_complex*>(m_out);
    for (std::size_t k = 0; k < kBins; ++k) out[k] = std::hypot(bins[k][0], bins[k][1]) * m_scale;
}
