// The level meter's spectrum: the transform itself, on tones that fall exactly
// on a bin, where a Hann window gives the tone's amplitude in its own bin, half
// of it in each neighbour and nothing anywhere else; and on noise, against a
// direct DFT of the same windowed samples.

#include "platform/engine/spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

TEST(Spectrum, TonesOnABinShowTheirAmplitudeThereAndHalfInEachNeighbour)
{
    const double n = Spectrum::kSamples;
    std::vector<float> samples(Spectrum::kSamples);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = float(0.5 * std::sin(2 * M_PI * 46 * double(i) / n) +
                           0.25 * std::cos(2 * M_PI * 301 * double(i) / n));
    std::vector<float> bins(Spectrum::kBins);
    Spectrum spectrum;
    spectrum.Compute(samples.data(), bins.data());

    for (std::size_t k = 0; k < bins.size(); ++k) {
        double expected = 0;
        if (k == 46 || k == 301) expected = k == 46 ? 0.5 : 0.25;
        if (k == 45 || k == 47) expected = 0.25;
        if (k == 300 || k == 302) expected = 0.125;
        EXPECT_NEAR(bins[k], expected, 1e-4) << "bin " << k;
    }
}

TEST(Spectrum, NoiseGivesTheMagnitudesOfADirectTransform)
{
    const std::size_t n = Spectrum::kSamples;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> level(-1, 1);
    std::vector<float> samples(n);
    for (float& sample : samples) sample = level(random);
    std::vector<float> bins(Spectrum::kBins);
    Spectrum spectrum;
    spectrum.Compute(samples.data(), bins.data());

    std::vector<double> windowed(n);
    double windowSum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2 * M_PI * double(i) / double(n));
        windowed[i] = samples[i] * window;
        windowSum += window;
    }
    for (std::size_t k = 0; k < bins.size(); ++k) {
        std::complex<double> sum;
        for (std::size_t i = 0; i < n; ++i)
            sum += windowed[i] * std::polar(1.0, -2 * M_PI * double(k * i % n) / double(n));
        EXPECT_NEAR(bins[k], std::abs(sum) * 2 / windowSum, 1e-4) << "bin " << k;
    }
}
