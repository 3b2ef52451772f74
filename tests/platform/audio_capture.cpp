#include "audio_capture.h"

#include "tests/support/audio_fixtures.h"
#include "tests/support/fake_platform.h"

#include <cmath>
#include <cstdint>
#include <cstring>

std::vector<float> MonoOf(const short* stereo, std::size_t frames)
{
    std::vector<float> mono(frames);
    for (std::size_t i = 0; i < frames; ++i)
        mono[i] = (float(stereo[2 * i]) + float(stereo[2 * i + 1])) / 65536.0f;
    return mono;
}

std::vector<float> ReadRawStereo(const std::string& path)
{
    const std::string bytes = ReadBytes(path);
    std::vector<short> stereo(bytes.size() / sizeof(short));
    std::memcpy(stereo.data(), bytes.data(), stereo.size() * sizeof(short));
    return MonoOf(stereo.data(), stereo.size() / 2);
}

double ToneAmplitude(const std::vector<float>& samples, std::size_t begin, std::size_t end, double hz)
{
    const double coefficient = 2 * std::cos(2 * M_PI * hz / kFixtureRate);
    double previous = 0, beforePrevious = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const double current = samples[i] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    const double power =
        previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
    return 2 * std::sqrt(std::max(power, 0.0)) / double(end - begin);
}

double ToneHz(const std::vector<float>& samples, std::size_t begin, std::size_t end)
{
    std::size_t first = 0, last = 0, crossings = 0;
    for (std::size_t i = begin + 1; i < end; ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            if (crossings++ == 0) first = i;
            last = i;
        }
    }
    return crossings < 2 ? 0 : (crossings - 1) * double(kFixtureRate) / double(last - first);
}

Span Audible(const std::vector<float>& samples, float threshold)
{
    Span span;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::fabs(samples[i]) > threshold) {
            if (span.end == 0) span.begin = i;
            span.end = i + 1;
        }
    }
    return span;
}

ToneWindows CountToneWindows(const std::vector<float>& samples, Span span, double hz, double amplitude)
{
    constexpr std::size_t kWindow = kFixtureRate / 20;
    ToneWindows count;
    for (std::size_t at = span.begin; at + kWindow <= span.end; at += kWindow) {
        ++count.windows;
        count.atLevel += std::abs(ToneAmplitude(samples, at, at + kWindow, hz) - amplitude) < 0.03;
    }
    return count;
}

std::size_t CountAudible(const std::vector<float>& samples, float threshold)
{
    std::size_t count = 0;
    for (float sample : samples) count += std::fabs(sample) > threshold;
    return count;
}
