// The playback model's transitions, without a window: every operation from
// every state, as one table.

#include "fake_audio_engine.h"
#include "playback/playback_model.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"
#include "tests/support/player_harness.h"

#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

using namespace lirvan;

namespace {

enum class Start { NoStream, Playing, Paused };

struct Transition {
    const char* name;
    Start start;
    std::function<void(PlaybackModel&)> operation;
    PlaybackState state;
    bool timer;
    bool streamLoaded;
    int currentTrack;
    int seeked; // Seeked notifications the operation sent
};

const Transition kTransitions[] = {
    {"play without a stream", Start::NoStream, &PlaybackModel::Play, PlaybackState::Playing, true, false, 0,
     0},
    {"pause without a stream", Start::NoStream, &PlaybackModel::Pause, PlaybackState::Paused, false, false, 0,
     0},
    {"stop without a stream", Start::NoStream, &PlaybackModel::Stop, PlaybackState::Stopped, false, false, 0,
     0},
    {"play while playing", Start::Playing, &PlaybackModel::Play, PlaybackState::Playing, true, true, 0, 0},
    {"pause while playing", Start::Playing, &PlaybackModel::Pause, PlaybackState::Paused, false, true, 0, 0},
    {"stop while playing", Start::Playing, &PlaybackModel::Stop, PlaybackState::Stopped, false, false, 0, 0},
    {"play while paused", Start::Paused, &PlaybackModel::Play, PlaybackState::Playing, true, true, 0, 0},
    {"pause while paused", Start::Paused, &PlaybackModel::Pause, PlaybackState::Paused, false, true, 0, 0},
    {"stop while paused", Start::Paused, &PlaybackModel::Stop, PlaybackState::Stopped, false, false, 0, 0},
    {"next", Start::Playing, &PlaybackModel::Next, PlaybackState::Playing, true, true, 1, 0},
    {"previous before the first is the last", Start::Playing, &PlaybackModel::Previous,
     PlaybackState::Playing, true, true, 2, 0},
    {"another track", Start::Paused, [](PlaybackModel& m) { m.PlayTrack(2); }, PlaybackState::Playing, true,
     true, 2, 0},
    {"the current track again restarts it", Start::Playing, [](PlaybackModel& m) { m.PlayTrack(0); },
     PlaybackState::Playing, true, true, 0, 1},
    {"seek while playing", Start::Playing, [](PlaybackModel& m) { m.SeekTo(4000); }, PlaybackState::Playing,
     true, true, 0, 1},
    {"seek while paused stays paused", Start::Paused, [](PlaybackModel& m) { m.SeekTo(4000); },
     PlaybackState::Paused, false, true, 0, 1},
    {"seek without a stream", Start::NoStream, [](PlaybackModel& m) { m.SeekTo(4000); },
     PlaybackState::Stopped, false, false, 0, 0},
    {"the slider where the tick put it", Start::Playing, [](PlaybackModel& m) { m.SeekToPercent(0); },
     PlaybackState::Playing, true, true, 0, 0},
};

class PlaybackModelTest : public ::testing::TestWithParam<Transition> { };

TEST_P(PlaybackModelTest, Transition)
{
    const Transition& t = GetParam();
    ResetPlayerState();
    FakeAudioEngine engine;
    engine.length = 100 * kBytesPerSecond;
    PlaybackModel model(engine);
    model.OpenTracks({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
    if (t.start == Start::NoStream) model.Stop();
    if (t.start == Start::Paused) model.Pause();
    QSignalSpy seeked(&model, &PlaybackModel::Seeked);

    t.operation(model);
    EXPECT_EQ(model.State(), t.state);
    EXPECT_EQ(model.TimerRunning(), t.timer);
    EXPECT_EQ(model.StreamLoaded(), t.streamLoaded);
    EXPECT_EQ(model.CurrentTrack(), t.currentTrack);
    EXPECT_EQ(seeked.count(), t.seeked);
}

INSTANTIATE_TEST_SUITE_P(EveryState, PlaybackModelTest, ::testing::ValuesIn(kTransitions),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(PlaybackModelUnits, MicrosecondsRoundTripToWholeFrames)
{
    EXPECT_EQ(PlaybackModel::UnitsOf(101'000'000), 101 * kBytesPerSecond);
    EXPECT_EQ(PlaybackModel::MicrosecondsOf(PlaybackModel::UnitsOf(101'000'000)), 101'000'000);
    EXPECT_EQ(PlaybackModel::UnitsOf(-5), 0u);
    EXPECT_EQ(PlaybackModel::UnitsOf(1) % kBytesPerFrame, 0u) << "never inside a frame";
}

} // namespace

// The path the advance would load, as the engine is told it whenever the table
// or the current track changes.
TEST(PlaybackModelPrepareNext, FollowsTheTableAndTheCurrentTrack)
{
    ResetPlayerState();
    FakeAudioEngine engine;
    PlaybackModel model(engine);
    model.OpenTracks({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
    EXPECT_EQ(engine.prepared, "/m/b.mp3") << "after a load";
    model.PlayTrack(2);
    EXPECT_EQ(engine.prepared, "/m/a.mp3") << "after the last, the first";
    model.AddTracks({"/m/d.mp3"});
    EXPECT_EQ(engine.prepared, "/m/d.mp3") << "after an add";

    // The next track removed, as the playlist command does it.
    for (int i = 3; i < TrackCount(); ++i) TrackTable[i] = TrackTable[i + 1];
    --trackSlots;
    model.RefreshTrackList();
    EXPECT_EQ(engine.prepared, "/m/a.mp3") << "after a removal";

    trackSlots = 0;
    model.RefreshTrackList();
    EXPECT_EQ(engine.prepared, "") << "an empty table";
}

TEST(PlaybackModelPrepareNext, NothingWhileNoStreamIsLoaded)
{
    ResetPlayerState();
    FakeAudioEngine engine;
    engine.unplayable = {"/m/a.mp3"};
    PlaybackModel model(engine);
    model.OpenTracks({"/m/a.mp3", "/m/b.mp3"});
    EXPECT_EQ(engine.prepared, "") << "the track could not be loaded";
    model.Next();
    EXPECT_EQ(engine.prepared, "/m/a.mp3");
    model.Stop();
    model.RefreshTrackList();
    EXPECT_EQ(engine.prepared, "") << "stopped, nothing advances";
}
