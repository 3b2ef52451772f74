#pragma once
// The timing of a Standard MIDI File, read from its header and tracks: how
// long it lasts and which tick sounds at a given moment, so a MIDI stream
// knows its length at creation and can seek without rendering.

#include <cstdint>
#include <optional>
#include <vector>

class MidiTimeline {
public:
    // nullopt unless the bytes are a well-formed MIDI file ("MThd" header,
    // at least one complete "MTrk" chunk).
    static std::optional<MidiTimeline> Parse(const std::vector<std::uint8_t>& file);

    // Seconds from the start to the last event of the longest track.
    double LengthSeconds() const { return SecondsAt(m_endTick); }
    // The tick sounding at `seconds` after the start.
    std::uint32_t TickAt(double seconds) const;

private:
    struct TempoChange {
        std::uint32_t tick;
        double secondsPerTick; // from this tick on
    };
    double SecondsAt(std::uint32_t tick) const;

    std::vector<TempoChange> m_tempo; // sorted by tick, the first at tick 0
    std::uint32_t m_endTick = 0;
};
