#pragma once
// The one stream and the state the transport shares with the playback timer.

#include "platform/audio_engine.h"

#include <cstdint>

extern HSTREAM stream;             // the current stream; a freed one keeps its value
extern unsigned timerId;           // what starting the playback timer last returned
extern std::uint64_t streamLength; // engine units, read when playback starts
extern double percentUnit;         // engine units per position-slider step
extern int positionPercent;        // the slider value the last tick computed
