#include "audio_fixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

namespace {

void PutLittle(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out += char(value >> (8 * i) & 0xFF);
}

void PutBig(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) out += char(value >> (8 * i) & 0xFF);
}

void PutVariable(std::string& out, std::uint32_t value)
{
    char bytes[5];
    int n = 0;
    bytes[n++] = char(value & 0x7F);
    while (value >>= 7) bytes[n++] = char(0x80 | (value & 0x7F));
    while (n > 0) out += bytes[--n];
}

} // namespace

void WriteTonesWav(const std::string& path, const std::vector<ToneSegment>& segments)
{
    std::string samples;
    double phase = 0;
    for (const ToneSegment& segment : segments) {
        const long frames = std::lround(segment.seconds * kFixtureRate);
        for (long i = 0; i < frames; ++i) {
            const auto value =
                std::uint16_t(std::int16_t(std::lround(segment.amplitude * 32767 * std::sin(phase))));
            PutLittle(samples, value, 2);
            PutLittle(samples, value, 2);
            phase = std::fmod(phase + 2 * M_PI * segment.hz / kFixtureRate, 2 * M_PI);
        }
    }
    std::string file = "RIFF";
    PutLittle(file, std::uint32_t(36 + samples.size()), 4);
    file += "WAVEfmt ";
    PutLittle(file, 16, 4);
    PutLittle(file, 1, 2); // PCM
    PutLittle(file, 2, 2);
    PutLittle(file, kFixtureRate, 4);
    PutLittle(file, kFixtureRate * 4, 4);
    PutLittle(file, 4, 2);
    PutLittle(file, 16, 2);
    file += "data";
    PutLittle(file, std::uint32_t(samples.size()), 4);
    std::ofstream(path, std::ios::binary) << file << samples;
}

void WriteToneWav(const std::string& path, double seconds, double hz, double amplitude)
{
    WriteTonesWav(path, {{seconds, hz, amplitude}});
}

bool EncodeWith(const std::string& arguments)
{
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments;
    return std::system(command.c_str()) == 0;
}

void WriteMidi(const std::string& path, const std::vector<MidiNote>& notes,
               const std::vector<MidiTempo>& tempo, std::uint16_t division, std::uint32_t endTick)
{
    // Events by tick; at one tick tempo first, then note-offs, then note-ons.
    std::multimap<std::pair<std::uint32_t, int>, std::string> events;
    for (const MidiTempo& change : tempo) {
        std::string e = "\xFF\x51\x03";
        PutBig(e, change.microsecondsPerQuarter, 3);
        events.emplace(std::pair(change.tick, 0), e);
    }
    for (const MidiNote& note : notes) {
        events.emplace(std::pair(note.tick, 2), std::string{char(0xC0), char(note.program)});
        events.emplace(std::pair(note.tick, 3), std::string{char(0x90), char(note.key), char(100)});
        events.emplace(std::pair(note.tick + note.ticks, 1),
                       std::string{char(0x80), char(note.key), char(0)});
        endTick = std::max(endTick, note.tick + note.ticks);
    }
    std::string track;
    std::uint32_t at = 0;
    for (const auto& [when, bytes] : events) {
        PutVariable(track, when.first - at);
        at = when.first;
        track += bytes;
    }
    PutVariable(track, endTick - at);
    track += std::string("\xFF\x2F\x00", 3);

    std::string file = "MThd";
    PutBig(file, 6, 4);
    PutBig(file, 0, 2); // one track
    PutBig(file, 1, 2);
    PutBig(file, division, 2);
    file += "MTrk";
    PutBig(file, std::uint32_t(track.size()), 4);
    std::ofstream(path, std::ios::binary) << file << track;
}
