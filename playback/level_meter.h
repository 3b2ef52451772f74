#pragma once
// The three-band level meter: its state, and the step that turns one band's
// spectrum into a run of bars while adapting the band's reference level.

#include "platform/audio_engine.h"

#include <string>

inline constexpr int kMeterBands = 3;

namespace lirvan {

// The meter's state, read and written on the user-interface thread only.
struct MeterState {
    float fftBuffer[kSpectrumValues] = {}; // the last spectrum the engine gave
    double meterLevel[kMeterBands] = {};   // each band's reference level
    int meterQuiet[kMeterBands] = {};      // ticks counted below the level
};

extern MeterState g_meter;

// The handlers use the fields by these names. Bound at compile time, so they are
// valid before any static constructor runs.
inline constinit float (&fftBuffer)[kSpectrumValues] = g_meter.fftBuffer;
inline constinit double (&meterLevel)[kMeterBands] = g_meter.meterLevel;
inline constinit int (&meterQuiet)[kMeterBands] = g_meter.meterQuiet;

// Every field back to its value at program start: all zero, as before the first
// track loads (ResetMeter is what a load does).
void ResetMeterState();

} // namespace lirvan

// Most bars a band shows.
inline constexpr int kMeterMaxBars = 6;

// The band's spectrum values summed in single precision, lowest index first,
// then times 10. Bands 0, 1 and 2 sum indices 0-79, 82-229 and 231-1023.
float MeterBandSum(const float* spectrum, int band);

// One tick of one band: the number of bars (1 to kMeterMaxBars) that sum earns
// against level, with level and quiet adapted to the music.
int MeterStep(float sum, double& level, int& quiet);

// The band's text: that many "|".
std::string MeterText(int bars);

// Every band back to the level a newly loaded track starts from, quiet count 0.
void ResetMeter();
