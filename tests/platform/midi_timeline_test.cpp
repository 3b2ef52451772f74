// The MIDI tempo map: lengths and ticks under tempo changes, time-code
// division, and files too damaged to time.

#include "engine_test_env.h"
#include "platform/engine/midi_timeline.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/fake_platform.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& chars) { return {chars.begin(), chars.end()}; }

std::vector<std::uint8_t> Midi(const std::vector<MidiNote>& notes, const std::vector<MidiTempo>& tempo,
                               std::uint16_t division = 480, std::uint32_t endTick = 0)
{
    TempFolder folder;
    WriteMidi(folder.File("a.mid"), notes, tempo, division, endTick);
    return Bytes(ReadBytes(folder.File("a.mid")));
}

} // namespace

TEST(MidiTimeline, FollowsTempoChangesBothWays)
{
    // 1 s at 120 bpm, then 2 quarters at 60 bpm (2 s), then 1 quarter at 240 bpm.
    const auto timeline = MidiTimeline::Parse(
        Midi({{0, 960, 60}, {960, 960, 62}, {1920, 480, 64}}, {{960, 1000000}, {1920, 250000}}));
    ASSERT_TRUE(timeline);
    EXPECT_NEAR(timeline->LengthSeconds(), 3.25, 1e-9);
    EXPECT_EQ(timeline->TickAt(0), 0u);
    EXPECT_EQ(timeline->TickAt(0.5), 480u);
    EXPECT_EQ(timeline->TickAt(2.0), 1440u);
    EXPECT_EQ(timeline->TickAt(3.125), 2160u);

    // A trailing end-of-track later than the last note counts.
    const auto padded = MidiTimeline::Parse(Midi({{0, 480, 60}}, {}, 480, 1920));
    ASSERT_TRUE(padded);
    EXPECT_NEAR(padded->LengthSeconds(), 2.0, 1e-9);
}

TEST(MidiTimeline, TimeCodeDivisionIgnoresTempo)
{
    // 25 frames a second, 40 ticks a frame: 1,000 ticks a second.
    std::vector<std::uint8_t> file = Midi({{0, 2500, 60}}, {{0, 1000000}}, 0xE728);
    const auto timeline = MidiTimeline::Parse(file);
    ASSERT_TRUE(timeline);
    EXPECT_NEAR(timeline->LengthSeconds(), 2.5, 1e-9);
    EXPECT_EQ(timeline->TickAt(1.0), 1000u);
}

TEST(MidiTimeline, DamagedFilesAreRefused)
{
    const std::vector<std::uint8_t> good = Midi({{0, 480, 60}, {480, 480, 62}}, {});
    ASSERT_TRUE(MidiTimeline::Parse(good));
    EXPECT_FALSE(MidiTimeline::Parse({good.begin(), good.end() - 5})) << "track cut short";
    EXPECT_FALSE(MidiTimeline::Parse({good.begin(), good.begin() + 14})) << "no track";
    std::vector<std::uint8_t> badHeader = good;
    badHeader[0] = 'X';
    EXPECT_FALSE(MidiTimeline::Parse(badHeader));
    std::vector<std::uint8_t> zeroDivision = good;
    zeroDivision[12] = zeroDivision[13] = 0;
    EXPECT_FALSE(MidiTimeline::Parse(zeroDivision));
    // A data byte with no status before it.
    std::vector<std::uint8_t> noStatus = good;
    noStatus[23] = 0x40;
    EXPECT_FALSE(MidiTimeline::Parse(noStatus));
}
