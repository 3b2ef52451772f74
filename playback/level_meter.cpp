// The level meter's state and its step: window-free, so that its arithmetic can be
// checked alone.

#include "playback/level_meter.h"

namespace lirvan {

MeterState g_meter;

void ResetMeterState() { g_meter = {}; }

} // namespace lirvan

namespace {

struct MeterBand {
    int first, last; // spectrum indices summed, both included
    double startLevel;
};
// Indices 80, 81 and 230 belong to no band.
constexpr MeterBand kBands[kMeterBands] = {{0, 79, 2.5}, {82, 229, 2.0}, {231, 1023, 2.0}};

// A band below its level this many times (not necessarily in a row) lowers it.
constexpr int kQuietTicksBeforeLowering = 40;
constexpr double kLowerStep = 0.1;
// A band at full bars climbs this much per tick until it falls back.
constexpr double kClimbStep = 0.02;
constexpr double kBarStep = 2.0;

} // namespace

float MeterBandSum(const float* spectrum, int band)
{
    float sum = 0.0f;
    for (int i = kBands[band].first; i <= kBands[band].last; ++i) sum += spectrum[i];
    return sum * 10.0f;
}

int MeterStep(float sum, double& level, int& quiet)
{
    const double s = sum;
    if (s < level) {
        if (++quiet > kQuietTicksBeforeLowering) {
            level -= kLowerStep;
            quiet = 0;
        }
        return 1;
    }
    if (s < level + kBarStep) return 2;
    if (s < level + 2 * kBarStep) return 3;
    if (s < level + 3 * kBarStep) {
        quiet = 0;
        return 4;
    }
    if (s < level + 4 * kBarStep) {
        quiet = 0;
        return 5;
    }
    level += kClimbStep;
    return kMeterMaxBars;
}

std::string MeterText(int bars) { return std::string(static_cast<std::size_t>(bars), '|'); }

void ResetMeter()
{
    for (int band = 0; band < kMeterBands; ++band) {
        lirvan::meterLevel[band] = kBands[band].startLevel;
        lirvan::meterQuiet[band] = 0;
    }
}
