#include "platform/engine/midi_timeline.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// A MIDI file's default tempo: 120 beats a minute.
constexpr std::uint32_t kDefaultMicrosecondsPerQuarter = 500000;

class ByteReader {
public:
    ByteReader(const std::uint8_t* begin, const std::uint8_t* end) : m_at(begin), m_end(end) { }

    bool AtEnd() const { return m_at >= m_end; }
    std::size_t Left() const { return std::size_t(m_end - m_at); }
    bool Byte(std::uint8_t& value)
    {
        if (AtEnd()) return false;
        value = *m_at++;
        return true;
    }
    bool BigEndian(int bytes, std::uint32_t& value)
    {
        value = 0;
        for (std::uint8_t b = 0; bytes-- > 0;) {
            if (!Byte(b)) return false;
            value = value << 8 | b;
        }
        return true;
    }
    // A variable-length quantity: at most four bytes of seven bits.
    bool Variable(std::uint32_t& value)
    {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t b = 0;
            if (!Byte(b)) return false;
            value = value << 7 | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        return false;
    }
    bool Skip(std::uint32_t bytes)
    {
        if (bytes > Left()) return false;
        m_at += bytes;
        return true;
    }
    const std::uint8_t* At() const { return m_at; }

private:
    const std::uint8_t* m_at;
    const std::uint8_t* m_end;
};

struct TempoEvent {
    std::uint32_t tick;
    std::uint32_t microsecondsPerQuarter;
};

// Walks one track's events; false when the track is malformed.
bool ReadTrack(ByteReader track, std::vector<TempoEvent>& tempo, std::uint32_t& endTick)
{
    std::uint32_t tick = 0;
    std::uint8_t status = 0;
    while (!track.AtEnd()) {
        std::uint32_t delta = 0;
        if (!track.Variable(delta)) return false;
        tick += delta;
        std::uint8_t first = 0;
        if (!track.Byte(first)) return false;
        if (first == 0xFF) {
            std::uint8_t type = 0;
            std::uint32_t length = 0;
            if (!track.Byte(type) || !track.Variable(length) || length > track.Left()) return false;
            if (type == 0x51 && length == 3) {
                const std::uint8_t* p = track.At();
                const std::uint32_t perQuarter = std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
                if (perQuarter > 0) tempo.push_back({tick, perQuarter});
            }
            track.Skip(length);
            endTick = std::max(endTick, tick);
            if (type == 0x2F) return true; // end of track
            continue;
        }
        if (first == 0xF0 || first == 0xF7) {
            std::uint32_t length = 0;
            if (!track.Variable(length) || !track.Skip(length)) return false;
            endTick = std::max(endTick, tick);
            continue;
        }
        // A channel message, its status byte possibly left out (running status).
        std::uint32_t dataBytes = 0;
        if (first & 0x80) {
            status = first;
            dataBytes = (status & 0xE0) == 0xC0 ? 1 : 2;
        } else {
            if (!status) return false;
            dataBytes = (status & 0xE0) == 0xC0 ? 0 : 1;
        }
        if (status >= 0xF0 || !track.Skip(dataBytes)) return false;
        endTick = std::max(endTick, tick);
    }
    return true;
}

} // namespace

std::optional<MidiTimeline> MidiTimeline::Parse(const std::vector<std::uint8_t>& file)
{
    ByteReader reader(file.data(), file.data() + file.size());
    std::uint32_t headerLength = 0, format = 0, tracks = 0, division = 0;
    if (file.size() < 14 || std::memcmp(file.data(), "MThd", 4) != 0 || !reader.Skip(4) ||
        !reader.BigEndian(4, headerLength) || headerLength < 6 || !reader.BigEndian(2, format) ||
        !reader.BigEndian(2, tracks) || !reader.BigEndian(2, division) || !reader.Skip(headerLength - 6) ||
        division == 0)
        return std::nullopt;

    std::vector<TempoEvent> tempo;
    std::uint32_t endTick = 0;
    std::uint32_t tracksRead = 0;
    while (tracksRead < tracks && reader.Left() >= 8) {
        const bool isTrack = std::memcmp(reader.At(), "MTrk", 4) == 0;
        std::uint32_t length = 0;
        reader.Skip(4);
        reader.BigEndian(4, length);
        if (length > reader.Left()) return std::nullopt;
        if (isTrack) {
            if (!ReadTrack(ByteReader(reader.At(), reader.At() + length), tempo, endTick))
                return std::nullopt;
            ++tracksRead;
        }
        reader.Skip(length); // chunks of other kinds are skipped, as the format asks
    }
    if (tracksRead == 0) return std::nullopt;

    MidiTimeline timeline;
    timeline.m_endTick = endTick;
    if (division & 0x8000) {
        // Time code: frames a second times ticks a frame, no tempo.
        const int framesPerSecond = -std::int8_t(division >> 8);
        const std::uint32_t ticksPerFrame = division & 0xFF;
        if (framesPerSecond <= 0 || ticksPerFrame == 0) return std::nullopt;
        timeline.m_tempo.push_back({0, 1.0 / (framesPerSecond * double(ticksPerFrame))});
        return timeline;
    }
    std::stable_sort(tempo.begin(), tempo.end(),
                     [](const TempoEvent& a, const TempoEvent& b) { return a.tick < b.tick; });
    const double perQuarter = 1e-6 / division;
    timeline.m_tempo.push_back({0, kDefaultMicrosecondsPerQuarter * perQuarter});
    for (const TempoEvent& change : tempo) {
        if (change.tick == timeline.m_tempo.back().tick)
            timeline.m_tempo.back().secondsPerTick = change.microsecondsPerQuarter * perQuarter;
        else
            timeline.m_tempo.push_back({change.tick, change.microsecondsPerQuarter * perQuarter});
    }
    return timeline;
}

double MidiTimeline::SecondsAt(std::uint32_t tick) const
{
    double seconds = 0;
    for (std::size_t i = 0; i < m_tempo.size(); ++i) {
        const std::uint32_t until = i + 1 < m_tempo.size() ? std::min(tick, m_tempo[i + 1].tick) : tick;
        if (until <= m_tempo[i].tick) break;
        seconds += (until - m_tempo[i].tick) * m_tempo[i].secondsPerTick;
    }
    return seconds;
}

std::uint32_t MidiTimeline::TickAt(double seconds) const
{
    double at = 0;
    for (std::size_t i = 0; i < m_tempo.size(); ++i) {
        const bool last = i + 1 == m_tempo.size();
        const double spanEnd =
            last ? INFINITY : at + (m_tempo[i + 1].tick - m_tempo[i].tick) * m_tempo[i].secondsPerTick;
        if (seconds < spanEnd)
            return m_tempo[i].tick + std::uint32_t((seconds - at) / m_tempo[i].secondsPerTick);
        at = spanEnd;
    }
    return m_endTick;
}
