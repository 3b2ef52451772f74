// Play, Pause, Stop, the two sliders and loading a track, on the real window.

#include "player_fixture.h"
#include "playback/level_meter.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"

using namespace lirvan;

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using TransportTest = PlayerTest;

namespace {
// Whatever would disturb a stream that should play on: stopping, freeing, creating or seeking.
std::vector<std::string> Disturbances(const FakeAudioEngine& engine)
{
    std::vector<std::string> found;
    for (const char* operation :
         {"AudioStop", "AudioStreamFree", "AudioStreamCreateFile", "AudioSetPosition"}) {
        for (const std::string& call : engine.CallsOf(operation)) found.push_back(call);
    }
    return found;
}
} // namespace

TEST_F(TransportTest, LoadResetsMeterAndPositionAndStartsTheTrack)
{
    meterLevel[0] = 9.0;
    meterQuiet[2] = 7;
    positionPercent = 33;
    h.engine.length = 12345;
    OpenFiles({"first.mp3", "second.mp3"});

    EXPECT_EQ(Status(), QStringLiteral("Играю"));
    EXPECT_EQ(Title(), QStringLiteral("first"));
    EXPECT_EQ(h.SelectedRow(IDC_TRACK_LIST), 0);
    EXPECT_TRUE(h.Dlg().PlaybackTimerRunning());
    EXPECT_EQ(percentUnit, 123.0);
    EXPECT_EQ(positionPercent, 0);
    EXPECT_THAT(meterLevel, ElementsAre(2.5, 2.0, 2.0));
    EXPECT_THAT(meterQuiet, ElementsAre(0, 0, 0));
}

TEST_F(TransportTest, PauseIsNoToggleAndPlayResumesWherePaused)
{
    OpenFiles({"a.mp3"});
    h.engine.calls.clear();
    h.Click(IDC_PAUSE);
    h.Click(IDC_PAUSE);
    EXPECT_EQ(Status(), QStringLiteral("Пауза"));
    EXPECT_FALSE(h.Dlg().PlaybackTimerRunning());
    EXPECT_THAT(h.engine.CallsOf("AudioPause"), ElementsAre("AudioPause 1", "AudioPause 1"));

    h.Click(IDC_PLAY);
    EXPECT_EQ(Status(), QStringLiteral("Играю"));
    EXPECT_TRUE(h.Dlg().PlaybackTimerRunning());
    // The same stream goes on from where it stood: nothing stopped, created or sought.
    EXPECT_THAT(Disturbances(h.engine), IsEmpty());
    EXPECT_THAT(h.engine.CallsOf("AudioPlay"), ElementsAre("AudioPlay 1"));
}

TEST_F(TransportTest, PlayWhilePlayingGoesOnUndisturbed)
{
    OpenFiles({"a.mp3"});
    h.engine.calls.clear();
    h.Click(IDC_PLAY);
    EXPECT_EQ(Status(), QStringLiteral("Играю"));
    EXPECT_TRUE(h.Dlg().PlaybackTimerRunning());
    EXPECT_THAT(Disturbances(h.engine), IsEmpty());
    EXPECT_THAT(h.engine.CallsOf("AudioPlay"), ElementsAre("AudioPlay 1"));
}

TEST_F(TransportTest, StopTwiceStaysStoppedAndPlayThenStartsTheNextTrack)
{
    OpenFiles({"a.mp3", "b.mp3"});
    MoveSlider(IDC_POSITION, 40);
    for (int i = 0; i < 2; ++i) {
        h.Click(IDC_STOP);
        EXPECT_EQ(Status(), QStringLiteral("Остановлено"));
        EXPECT_EQ(Slider(IDC_POSITION), 0);
        EXPECT_FALSE(h.Dlg().PlaybackTimerRunning());
    }
    EXPECT_EQ(Title(), QStringLiteral("a"));

    // The stopped track does not resume: the first tick finds it ended.
    h.Click(IDC_PLAY);
    EXPECT_EQ(Status(), QStringLiteral("Играю"));
    Tick();
    EXPECT_EQ(currentTrack, 1);
    EXPECT_EQ(Title(), QStringLiteral("b"));
    EXPECT_THAT(Created(), ElementsAre(h.folder.Path() + "a.mp3", h.folder.Path() + "b.mp3"));
}

TEST_F(TransportTest, PlayBeforeAnyLoadStartsNextTrackOrStopsWithoutTracks)
{
    // No tick and no engine call before the first Play or Open.
    EXPECT_FALSE(h.Dlg().PlaybackTimerRunning());
    EXPECT_TRUE(h.engine.calls.empty());

    h.Click(IDC_PLAY);
    EXPECT_EQ(Status(), QStringLiteral("Играю"));
    // Before any load the engine knows no volume.
    EXPECT_EQ(h.engine.Count("AudioSetVolume"), 0);
    Tick();
    EXPECT_EQ(Status(), QStringLiteral("Остановлено"));
    EXPECT_FALSE(h.Dlg().PlaybackTimerRunning());

    AddFiles({"a.mp3", "b.mp3"});
    h.Click(IDC_PLAY);
    Tick();
    EXPECT_EQ(Status(), QStringLiteral("Играю"));
    EXPECT_THAT(Created(), ElementsAre(h.folder.Path() + "b.mp3"));
}

TEST_F(TransportTest, UnplayableFileStopsWithTitleAndSelectionOnIt)
{
    h.engine.unplayable.insert(h.folder.Path() + "broken.mp3");
    OpenFiles({"broken.mp3"});
    EXPECT_EQ(Status(), QStringLiteral("Остановлено"));
    EXPECT_EQ(Title(), QStringLiteral("broken"));
    EXPECT_EQ(h.SelectedRow(IDC_TRACK_LIST), 0);
    EXPECT_FALSE(h.Dlg().PlaybackTimerRunning());
    EXPECT_EQ(h.engine.Count("AudioPlay"), 0);
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST_F(TransportTest, PositionSliderFollowsBytesAndSeeksOnlyWhenUserMovesIt)
{
    h.engine.length = 1000037;
    OpenFiles({"a.mp3"});
    h.engine.position = 1000037 / 2;
    Tick();
    EXPECT_EQ(Slider(IDC_POSITION), 50);
    EXPECT_EQ(h.engine.Count("AudioSetPosition"), 0);

    // Slider 100 is the length less its last partial hundredth.
    MoveSlider(IDC_POSITION, 100);
    EXPECT_THAT(h.engine.CallsOf("AudioSetPosition"), ElementsAre("AudioSetPosition 1000000"));
}

TEST_F(TransportTest, ShortStreamsNeitherDivideByZeroNorSeekByThemselves)
{
    // Under 100 bytes there is no percent unit: the slider stays at 0 and seeks go to 0.
    h.engine.length = 99;
    OpenFiles({"a.mp3"});
    h.engine.position = 60;
    Tick();
    EXPECT_EQ(Slider(IDC_POSITION), 0);
    EXPECT_TRUE(h.Dlg().PlaybackTimerRunning());
    MoveSlider(IDC_POSITION, 70);
    EXPECT_THAT(h.engine.CallsOf("AudioSetPosition"), ElementsAre("AudioSetPosition 0"));

    // 150 bytes: the last 50 lie beyond 100 %, where the slider holds without a seek.
    h.engine.length = 150;
    OpenFiles({"b.mp3"});
    h.engine.position = 140;
    Tick();
    EXPECT_EQ(Slider(IDC_POSITION), 100);
    EXPECT_EQ(h.engine.Count("AudioSetPosition"), 1);
}

TEST_F(TransportTest, VolumeIsSliderUpsideDownOnceEngineIsInitialised)
{
    MoveSlider(IDC_VOLUME, 30);
    EXPECT_EQ(h.engine.Count("AudioGetVolume"), 1);
    EXPECT_EQ(h.engine.Count("AudioSetVolume"), 0);

    // The first Play applies what the slider shows.
    OpenFiles({"a.mp3"});
    EXPECT_EQ(h.engine.volume, 70u);
    MoveSlider(IDC_VOLUME, 100);
    EXPECT_EQ(h.engine.volume, 0u);
    MoveSlider(IDC_VOLUME, 0);
    EXPECT_EQ(h.engine.volume, 100u);
}
