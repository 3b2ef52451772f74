#pragma once
// Reading back what the engine put out (SDL's disk driver file, a PulseAudio
// recording: raw 16-bit stereo at 44,100 Hz) and measuring tones in it.

#include <cstddef>
#include <string>
#include <vector>

// The mono mix of a raw 16-bit stereo file, full scale 1.0.
std::vector<float> ReadRawStereo(const std::string& path);
// Mono mix of interleaved 16-bit stereo frames.
std::vector<float> MonoOf(const short* stereo, std::size_t frames);

// The amplitude of the sine at `hz` in samples [begin, end) (Goertzel).
double ToneAmplitude(const std::vector<float>& samples, std::size_t begin, std::size_t end, double hz);
// The frequency of a pure tone in [begin, end), from its zero crossings.
double ToneHz(const std::vector<float>& samples, std::size_t begin, std::size_t end);
// Index of the first and one past the last sample louder than `threshold`;
// {0, 0} when none is.
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t Size() const { return end - begin; }
};
Span Audible(const std::vector<float>& samples, float threshold = 0.01f);
// A recording's span in 50 ms windows (33 whole cycles of a 660 Hz tone): how
// many there are, and how many carry the tone at `hz` within 0.03 of
// `amplitude`. A busy machine may make a sound server miss a cycle or two,
// which breaks a tone's phase: a window tells the level where the whole span
// cannot.
struct ToneWindows {
    std::size_t windows = 0;
    std::size_t atLevel = 0;
};
ToneWindows CountToneWindows(const std::vector<float>& samples, Span span, double hz, double amplitude);
// How many samples are louder than `threshold`.
std::size_t CountAudible(const std::vector<float>& samples, float threshold = 0.01f);
