#pragma once
// The three-band level meter's state.

#include "platform/audio_engine.h"

inline constexpr int kMeterBands = 3;

extern float fftBuffer[kSpectrumValues];
extern double meterLevel[kMeterBands]; // each band's reference level
extern int meterQuiet[kMeterBands];    // ticks counted below the level
