// The level meter's step, and what a tick of the playback timer does to the window.

#include "player_fixture.h"
#include "playback/level_meter.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"

#include <array>

using namespace lirvan;

using ::testing::ElementsAre;

TEST(LevelMeter, BandsSumTheirIndicesInSinglePrecisionTimesTen)
{
    std::array<float, kSpectrumValues> spectrum{};
    // Between and after the bands: counted nowhere.
    spectrum[80] = spectrum[81] = spectrum[230] = 1000.0f;
    EXPECT_EQ(MeterBandSum(spectrum.data(), 0), 0.0f);
    EXPECT_EQ(MeterBandSum(spectrum.data(), 1), 0.0f);
    EXPECT_EQ(MeterBandSum(spectrum.data(), 2), 0.0f);

    spectrum[79] = 0.5f;
    spectrum[82] = spectrum[229] = 0.25f;
    spectrum[231] = spectrum[1023] = 0.125f;
    EXPECT_EQ(MeterBandSum(spectrum.data(), 0), 5.0f);
    EXPECT_EQ(MeterBandSum(spectrum.data(), 1), 5.0f);
    EXPECT_EQ(MeterBandSum(spectrum.data(), 2), 2.5f);

    // A float running sum loses each 1 added to 1e8; a double one would not.
    spectrum.fill(0.0f);
    spectrum[0] = 1e8f;
    for (int i = 1; i < 80; ++i) spectrum[i] = 1.0f;
    EXPECT_EQ(MeterBandSum(spectrum.data(), 0), 1e9f);
}

TEST(LevelMeter, ThresholdEqualityGoesToTheNextBarUp)
{
    struct Case {
        float sum;
        int bars;
        int quiet; // one bar counts a quiet tick, four and five clear the count
    };
    for (const Case c : {Case{1.5f, 1, 6}, Case{2.0f, 2, 5}, Case{3.9f, 2, 5}, Case{4.0f, 3, 5},
                         Case{6.0f, 4, 0}, Case{8.0f, 5, 0}, Case{9.9f, 5, 0}, Case{10.0f, 6, 5}}) {
        double level = 2.0;
        int quiet = 5;
        EXPECT_EQ(MeterStep(c.sum, level, quiet), c.bars) << "sum " << c.sum;
        EXPECT_EQ(quiet, c.quiet) << "sum " << c.sum;
    }
}

TEST(LevelMeter, QuietBandLowersItsLevelEvery41TicksDownToAFloor)
{
    ResetMeter();
    double& level = meterLevel[0];
    int& quiet = meterQuiet[0];
    EXPECT_EQ(level, 2.5);

    for (int tick = 0; tick < 40; ++tick) EXPECT_EQ(MeterStep(0.0f, level, quiet), 1);
    // Two- and three-bar readings in between do not restart the count.
    MeterStep(3.0f, level, quiet);
    MeterStep(5.0f, level, quiet);
    EXPECT_EQ(level, 2.5);
    EXPECT_EQ(quiet, 40);
    MeterStep(0.0f, level, quiet);
    EXPECT_DOUBLE_EQ(level, 2.4);
    EXPECT_EQ(quiet, 0);

    // 24 more lowerings bring the level to 0 at most; silence then reads two bars for good.
    for (int tick = 0; tick < 24 * 41; ++tick) MeterStep(0.0f, level, quiet);
    EXPECT_LE(level, 0.0);
    EXPECT_NEAR(level, 0.0, 1e-9);
    const double floor = level;
    for (int tick = 0; tick < 200; ++tick) EXPECT_EQ(MeterStep(0.0f, level, quiet), 2);
    EXPECT_EQ(level, floor);
    EXPECT_EQ(quiet, 0);
}

TEST(LevelMeter, LoudBandClimbsUntilItFallsBelowSixBars)
{
    double level = 2.0;
    int quiet = 3;
    // 10.05 reads six bars at levels 2.0, 2.02 and 2.04, then five.
    int sixes = 0;
    while (MeterStep(10.05f, level, quiet) == kMeterMaxBars) ++sixes;
    EXPECT_EQ(sixes, 3);
    EXPECT_NEAR(level, 2.06, 1e-12);
    EXPECT_EQ(quiet, 0); // the five-bar reading that ended the climb
}

using PlaybackTimerTest = PlayerTest;

TEST_F(PlaybackTimerTest, TickDrawsEachBandInItsOwnBox)
{
    OpenFiles({"a.mp3"});
    h.engine.spectrum[10] = 100.0f; // band 1: loud
    h.engine.spectrum[100] = 0.35f; // band 2: 3.5 against 2.0, two bars
    Tick();
    EXPECT_EQ(h.Text(IDC_METER_FIRST), QStringLiteral("||||||"));
    EXPECT_EQ(h.Text(IDC_METER_SECOND), QStringLiteral("||"));
    EXPECT_EQ(h.Text(IDC_METER_THIRD), QStringLiteral("|"));
    EXPECT_NEAR(meterLevel[0], 2.52, 1e-12);
    EXPECT_EQ(meterQuiet[2], 1);
    EXPECT_THAT(h.engine.CallsOf("AudioGetData"), ElementsAre("AudioGetData 1"));
}

TEST_F(PlaybackTimerTest, EndOfTrackAdvancesAndWrapsToTheFirst)
{
    OpenFiles({"a.mp3", "b.mp3", "c.mp3"});
    h.engine.ended = true;
    Tick();
    EXPECT_EQ(currentTrack, 1);
    Tick();
    EXPECT_EQ(currentTrack, 2);
    Tick();
    EXPECT_EQ(currentTrack, 0);
    EXPECT_EQ(Title(), QStringLiteral("a"));
    EXPECT_EQ(h.SelectedRow(IDC_TRACK_LIST), 0);
    const std::string f = h.folder.Path();
    EXPECT_THAT(Created(), ElementsAre(f + "a.mp3", f + "b.mp3", f + "c.mp3", f + "a.mp3"));
    // Each track was freed before the next was loaded.
    std::vector<std::string> frees = h.engine.CallsOf("AudioStreamFree");
    std::erase(frees, "AudioStreamFree 0"); // the stop before the first track, with no stream yet
    EXPECT_THAT(frees, ElementsAre("AudioStreamFree 1", "AudioStreamFree 2", "AudioStreamFree 3"));
    EXPECT_TRUE(h.Dlg().PlaybackTimerRunning());
}

TEST_F(PlaybackTimerTest, OneTrackRepeatsAndCurrentPastTheEndStartsTheFirst)
{
    OpenFiles({"only.mp3"});
    h.engine.ended = true;
    Tick();
    Tick();
    EXPECT_EQ(currentTrack, 0);
    EXPECT_EQ(Created().size(), 3u);
    EXPECT_EQ(LastCreated(), h.folder.Path() + "only.mp3");

    // As after tracks were removed below the playing one.
    currentTrack = 7;
    Tick();
    EXPECT_EQ(currentTrack, 0);
    EXPECT_EQ(Created().size(), 4u);
}

TEST_F(PlaybackTimerTest, NextTrackThatFailsStopsTheAdvance)
{
    h.engine.unplayable.insert(h.folder.Path() + "b.mp3");
    OpenFiles({"a.mp3", "b.mp3", "c.mp3"});
    h.engine.ended = true;
    Tick();
    EXPECT_EQ(Status(), QStringLiteral("Остановлено"));
    EXPECT_EQ(Title(), QStringLiteral("b"));
    EXPECT_FALSE(h.Dlg().PlaybackTimerRunning());
    EXPECT_EQ(Created().size(), 2u);
}
