#pragma once
// The one stream and the state the transport shares with the playback timer.
// Read and written on the user-interface thread only.

#include "platform/audio_engine.h"

#include <cstdint>

namespace lirvan {

struct TransportState {
    HSTREAM stream = 0;             // the current stream; a freed one keeps its value
    unsigned timerId = 0;           // the running playback timer's identifier, 0 when none
    std::uint64_t streamLength = 0; // engine units, read when playback starts
    double percentUnit = 0.0;       // engine units per position-slider step
    int positionPercent = 0;        // the slider value the last tick computed
};

extern TransportState g_transport;

// The handlers use the fields by these names. Bound at compile time, so they are
// valid before any static constructor runs.
inline constinit HSTREAM& stream = g_transport.stream;
inline constinit unsigned& timerId = g_transport.timerId;
inline constinit std::uint64_t& streamLength = g_transport.streamLength;
inline constinit double& percentUnit = g_transport.percentUnit;
inline constinit int& positionPercent = g_transport.positionPercent;

// Every field back to its value at program start.
void ResetTransportState();

} // namespace lirvan

// The playback timer: identifier and period.
inline constexpr unsigned kPlaybackTimer = 1;
inline constexpr unsigned kPlaybackTimerMs = 90;

// Engine units per position-slider step for a stream of that length: whole
// hundredths, the remainder dropped.
double PercentUnitOf(std::uint64_t length);
