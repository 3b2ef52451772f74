#pragma once
// Audio files that tests make for themselves: PCM WAV written directly, other
// containers encoded by the ffmpeg command, MIDI files written by hand.

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kFixtureRate = 44100;

// One stretch of a stereo sine: how long, at what frequency and amplitude
// (1.0 is full scale); 0 Hz is silence.
struct ToneSegment {
    double seconds;
    double hz;
    double amplitude = 0.5;
};

// A 16-bit stereo 44,100 Hz WAV of the segments, one after another.
void WriteTonesWav(const std::string& path, const std::vector<ToneSegment>& segments);
void WriteToneWav(const std::string& path, double seconds, double hz, double amplitude = 0.5);

// Runs `ffmpeg -y <arguments>` quietly; true when it succeeded.
bool EncodeWith(const std::string& arguments);

struct MidiNote {
    std::uint32_t tick;
    std::uint32_t ticks;      // how long it sounds
    std::uint8_t key;         // 60 is middle C
    std::uint8_t program = 0; // General MIDI instrument, 0 the piano
};
struct MidiTempo {
    std::uint32_t tick;
    std::uint32_t microsecondsPerQuarter;
};

// A format-0 MIDI file on channel 1 with `division` ticks a quarter note;
// without tempo changes it plays at 120 beats a minute. The track ends at
// `endTick`, or at the last note's end when that is later.
void WriteMidi(const std::string& path, const std::vector<MidiNote>& notes,
               const std::vector<MidiTempo>& tempo = {}, std::uint16_t division = 480,
               std::uint32_t endTick = 0);
