#pragma once
// The one stream and the state the transport shares with the playback timer.

#include "platform/audio_engine.h"

#include <cstdint>

extern HSTREAM stream;             // the current stream; a freed one keeps its value
extern unsigned timerId;           // what starting the playback timer last returned
extern std::uint64_t streamLength; // engine units, read when playback starts
extern double percentUnit;         // engine units per position-slider step
extern int positionPercent;        // the slider value the last tick computed

// The playback timer: identifier and period.
inline constexpr unsigned kPlaybackTimer = 1;
inline constexpr unsigned kPlaybackTimerMs = 90;

// Engine units per position-slider step for a stream of that length: whole
// hundredths, the remainder dropped.
double PercentUnitOf(std::uint64_t length);
