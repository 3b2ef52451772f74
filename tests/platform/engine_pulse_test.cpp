// The engine through a real sound server: a PulseAudio daemon of the test's
// own with a null sink, its monitor recorded by parec, the tone found in the
// recording; the server killed under a playing stream and started again long
// after, started only after the first play, and asked what the engine holds on
// it. The sound comes back by itself each time. And, listened to from the
// start: a pause, a seek and a volume change heard where the position said,
// and a track prepared ahead following the last one with no silence.

#include "audio_capture.h"
#include "engine_test_env.h"
#include "platform/engine/sdl_output_module.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A PulseAudio daemon serving only this test: its runtime folder, home and
// socket in a temporary folder, one null sink; ended with the test. The
// clients of the test find it by the environment as soon as it is made, and
// it may be started again after it was killed.
class PrivatePulseAudio {
public:
    explicit PrivatePulseAudio(const TempFolder& folder)
        : m_folder(folder), m_socket(folder.File("run/native"))
    {
        std::filesystem::create_directories(folder.File("run"));
        std::filesystem::create_directories(folder.File("home"));
        setenv("XDG_RUNTIME_DIR", folder.File("run").c_str(), 1);
        setenv("HOME", folder.File("home").c_str(), 1);
        setenv("PULSE_SERVER", ("unix:" + m_socket).c_str(), 1);
        setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
    }
    ~PrivatePulseAudio() { EndProcess(m_daemon); }

    // Starts the daemon; true once it answers.
    bool Start()
    {
        // -n: no default script, so no hardware modules; root needs no flag
        // beyond a warning in per-user mode.
        m_daemon = Spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false",
                          "--disable-shm=yes", "--log-target=stderr", "--log-level=error", "-L",
                          "module-null-sink sink_name=lirvan rate=44100 channels=2", "-L",
                          "module-native-protocol-unix auth-anonymous=1 socket=" + m_socket},
                         m_folder.File("pulseaudio.log"));
        return m_daemon > 0 && WaitUntil([] { return std::system("pactl info >/dev/null 2>&1") == 0; }, 10);
    }
    // Ends it as a crash would, without a word to its clients.
    void Kill()
    {
        kill(m_daemon, SIGKILL);
        waitpid(m_daemon, nullptr, 0);
        m_daemon = 0;
    }

private:
    const TempFolder& m_folder;
    std::string m_socket;
    pid_t m_daemon = 0;
};

// Streams on the sink that are not corked, as pactl lists them.
int PlayingSinkInputs()
{
    FILE* list = popen("LC_ALL=C pactl list sink-inputs 2>/dev/null", "r");
    if (!list) return -1;
    int playing = 0;
    char line[512];
    while (std::fgets(line, sizeof line, list))
        playing += std::string(line).find("Corked: no") != std::string::npos;
    pclose(list);
    return playing;
}

constexpr double kSecond = kBytesPerSecond;
// How long the server stays away under a playing stream, and how late it
// starts after the first play.
constexpr double kOutage = 20;
constexpr double kLateServer = 10;

// Whether the stream goes on past `from` within a few seconds of the server's
// (re)start at `started`, with no call but the position; how long it took is
// kept with the test's results as "sound_back_ms" (the retries promise about
// a second).
bool SoundComesBack(AudioEngine& engine, HSTREAM stream, std::uint64_t from,
                    std::chrono::steady_clock::time_point started)
{
    const bool back = WaitUntil([&] { return engine.AudioGetPosition(stream) > from; }, 5);
    const auto took = std::chrono::steady_clock::now() - started;
    ::testing::Test::RecordProperty("sound_back_ms",
                                    int(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    return back;
}

// The engine on a PulseAudio daemon of the test's own, its sink recorded from
// the start.
class RecordedEngine {
public:
    explicit RecordedEngine(const TempFolder& folder) : m_folder(folder), m_pulse(folder) { }

    // True once the daemon answers, its sink is recorded and the engine is up.
    bool Start()
    {
        if (!m_pulse.Start()) return false;
        m_recorder = RecordMonitor("lirvan", m_folder.File("monitor.raw"));
        engine = CreateSystemAudioEngine();
        return m_recorder > 0 && engine->AudioInit();
    }
    // A stream of the folder's file `name`, playing.
    HSTREAM Play(const std::string& name)
    {
        const HSTREAM stream = engine->AudioStreamCreateFile(m_folder.File(name).c_str());
        return engine->AudioPlay(stream) ? stream : 0;
    }
    double Seconds(HSTREAM stream) { return double(engine->AudioGetPosition(stream)) / kBytesPerSecond; }
    // As Play, once its position has passed `seconds`; 0 if it does not soon.
    HSTREAM PlayPast(const std::string& name, double seconds)
    {
        const HSTREAM stream = Play(name);
        return WaitUntil([&] { return Seconds(stream) >= seconds; }, 5) ? stream : 0;
    }
    // Once `stream` is heard to its end and the sink has played it out: the
    // engine closed, what the sink heard.
    std::vector<float> HeardToTheEndOf(HSTREAM stream)
    {
        EXPECT_TRUE(WaitUntil([&] { return engine->AudioIsActive(stream) == 0; }, 5));
        Sleep(0.3);
        engine.reset();
        EndProcess(m_recorder);
        return ReadRawStereo(m_folder.File("monitor.raw"));
    }

    std::unique_ptr<AudioEngine> engine;

private:
    const TempFolder& m_folder;
    PrivatePulseAudio m_pulse;
    pid_t m_recorder = 0;
};

// The first sample at or after `from` of the first 10 ms window for which
// `holds` is false; `samples.size()` if there is none.
template <typename Holds>
std::size_t WhileWindows(const std::vector<float>& samples, std::size_t from, Holds holds)
{
    constexpr std::size_t kWindow = kFixtureRate / 100;
    while (from + kWindow <= samples.size() && holds(from, from + kWindow)) from += kWindow;
    return from + kWindow <= samples.size() ? from : samples.size();
}

} // namespace

TEST(EnginePulse, ToneReachesThePulseAudioSink)
{
    TempFolder folder;
    PrivatePulseAudio pulse(folder);
    ASSERT_TRUE(pulse.Start()) << "pulseaudio did not start";
    const std::string recording = folder.File("monitor.raw");
    const pid_t recorder = RecordMonitor("lirvan", folder.File("monitor.raw"));
    ASSERT_GT(recorder, 0);

    WriteToneWav(folder.File("tone.wav"), 1.0, 660, 0.5);
    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    ASSERT_TRUE(engine->AudioInit());
    const HSTREAM stream = engine->AudioStreamCreateFile(folder.File("tone.wav").c_str());
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(engine->AudioPlay(stream));
    EXPECT_TRUE(WaitUntil([&] { return engine->AudioIsActive(stream) == 0; }, 5));
    EXPECT_EQ(engine->AudioGetPosition(stream), kBytesPerSecond);
    std::stringstream maps;
    maps << std::ifstream("/proc/self/maps").rdbuf();
    EXPECT_EQ(maps.str().find(kSdlOutputModule), std::string::npos) << "SDL loaded where the server answers";
    Sleep(0.3); // the server's own buffer drains into the monitor
    engine.reset();
    EndProcess(recorder);

    const std::vector<float> out = ReadRawStereo(recording);
    const Span heard = Audible(out);
    ASSERT_GT(heard.Size(), kFixtureRate / 2u) << "the tone is in the recording";
    const ToneWindows tone = CountToneWindows(out, heard, 660, 0.5);
    EXPECT_GE(tone.windows, 18u) << "about a second heard";
    EXPECT_GE(tone.atLevel, tone.windows * 2 / 3);
}

TEST(EnginePulse, ToneGoesOnFromWhereItStoppedWhenTheServerComesBackLongAfter)
{
    TempFolder folder;
    PrivatePulseAudio pulse(folder);
    ASSERT_TRUE(pulse.Start()) << "pulseaudio did not start";
    WriteToneWav(folder.File("tone.wav"), 4.0, 660, 0.5);
    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    ASSERT_TRUE(engine->AudioInit());
    const HSTREAM stream = engine->AudioStreamCreateFile(folder.File("tone.wav").c_str());
    ASSERT_TRUE(engine->AudioPlay(stream));
    ASSERT_TRUE(WaitUntil([&] { return engine->AudioGetPosition(stream) >= kBytesPerSecond; }, 5));

    pulse.Kill();
    Sleep(0.2); // the output notices
    const std::uint64_t stopped = engine->AudioGetPosition(stream);
    // Well past the first seconds of quick retries.
    Sleep(kOutage);
    EXPECT_LT(engine->AudioGetPosition(stream) - stopped, kSecond / 10) << "no server, no progress";
    EXPECT_NE(engine->AudioIsActive(stream), 0u);

    ASSERT_TRUE(pulse.Start()) << "pulseaudio did not start again";
    const auto started = std::chrono::steady_clock::now();
    const pid_t recorder = RecordMonitor("lirvan", folder.File("monitor.raw"));
    ASSERT_GT(recorder, 0);
    EXPECT_TRUE(SoundComesBack(*engine, stream, stopped, started));
    EXPECT_TRUE(WaitUntil([&] { return engine->AudioIsActive(stream) == 0; }, 10)) << "heard to its end";
    Sleep(0.3);
    engine.reset();
    EndProcess(recorder);

    // What was left after the stop is heard; the recorder may start up to a
    // retry's second late.
    const double left = (4 * kSecond - double(stopped)) / kSecond;
    const Span heard = Audible(ReadRawStereo(folder.File("monitor.raw")));
    EXPECT_LT(double(heard.Size()) / kFixtureRate, left + 0.2);
    EXPECT_GT(double(heard.Size()) / kFixtureRate, left - 1.2);
}

TEST(EnginePulse, PlayWithNoServerIsHeardWhenTheServerStartsWithNoNewPlay)
{
    TempFolder folder;
    PrivatePulseAudio pulse(folder);
    WriteToneWav(folder.File("tone.wav"), 1.0, 660, 0.5);
    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    ASSERT_TRUE(engine->AudioInit());
    const HSTREAM stream = engine->AudioStreamCreateFile(folder.File("tone.wav").c_str());
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(engine->AudioPlay(stream));
    Sleep(kLateServer);
    EXPECT_EQ(engine->AudioGetPosition(stream), 0u);

    ASSERT_TRUE(pulse.Start()) << "pulseaudio did not start";
    const auto started = std::chrono::steady_clock::now();
    const pid_t recorder = RecordMonitor("lirvan", folder.File("monitor.raw"));
    ASSERT_GT(recorder, 0);
    EXPECT_TRUE(SoundComesBack(*engine, stream, 0, started));
    EXPECT_TRUE(WaitUntil([&] { return engine->AudioIsActive(stream) == 0; }, 5));
    Sleep(0.3);
    engine.reset();
    EndProcess(recorder);
    EXPECT_GT(Audible(ReadRawStereo(folder.File("monitor.raw"))).Size(), kFixtureRate * 9 / 10);
}

TEST(EnginePulse, PauseAndStopLeaveNoPlayingStreamOnTheSink)
{
    TempFolder folder;
    PrivatePulseAudio pulse(folder);
    ASSERT_TRUE(pulse.Start()) << "pulseaudio did not start";
    WriteToneWav(folder.File("tone.wav"), 20.0, 660, 0.5);
    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    ASSERT_TRUE(engine->AudioInit());
    const HSTREAM stream = engine->AudioStreamCreateFile(folder.File("tone.wav").c_str());
    // The sink may keep a paused output a few seconds, for a quick resume.
    constexpr double kLetGo = 6;

    ASSERT_TRUE(engine->AudioPlay(stream));
    EXPECT_TRUE(WaitUntil([] { return PlayingSinkInputs() == 1; }, 5));
    ASSERT_TRUE(engine->AudioPause(stream));
    EXPECT_TRUE(WaitUntil([] { return PlayingSinkInputs() == 0; }, kLetGo)) << "after pause";

    ASSERT_TRUE(engine->AudioPlay(stream));
    EXPECT_TRUE(WaitUntil([] { return PlayingSinkInputs() == 1; }, 5));
    ASSERT_TRUE(engine->AudioStop(stream));
    EXPECT_TRUE(WaitUntil([] { return PlayingSinkInputs() == 0; }, kLetGo)) << "after stop";
}

TEST(EnginePulse, AStoppedTracksQueuedSoundIsNotHeardWhenTheNextOneStarts)
{
    TempFolder folder;
    PrivatePulseAudio pulse(folder);
    ASSERT_TRUE(pulse.Start()) << "pulseaudio did not start";
    const pid_t recorder = RecordMonitor("lirvan", folder.File("monitor.raw"));
    ASSERT_GT(recorder, 0);
    WriteToneWav(folder.File("first.wav"), 5.0, 660, 0.5);
    WriteToneWav(folder.File("next.wav"), 1.0, 440, 0.5);
    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    ASSERT_TRUE(engine->AudioInit());
    const HSTREAM first = engine->AudioStreamCreateFile(folder.File("first.wav").c_str());
    ASSERT_TRUE(engine->AudioPlay(first));
    ASSERT_TRUE(WaitUntil([&] { return engine->AudioGetPosition(first) >= kBytesPerSecond; }, 5));
    ASSERT_TRUE(engine->AudioStop(first));
    ASSERT_TRUE(engine->AudioStreamFree(first));
    Sleep(0.5); // long enough to hear a gap, too short for the output to be let go
    const HSTREAM next = engine->AudioStreamCreateFile(folder.File("next.wav").c_str());
    ASSERT_TRUE(engine->AudioPlay(next));
    EXPECT_TRUE(WaitUntil([&] { return engine->AudioIsActive(next) == 0; }, 5));
    Sleep(0.3);
    engine.reset();
    EndProcess(recorder);

    // In 20 ms windows: the first where the next track sounds, and the 100 ms
    // before it, hold nothing of the stopped one.
    const std::vector<float> out = ReadRawStereo(folder.File("monitor.raw"));
    constexpr std::size_t kWindow = kFixtureRate / 50;
    std::size_t start = kWindow * 5;
    while (start + kWindow <= out.size() && ToneAmplitude(out, start, start + kWindow, 440) < 0.25)
        start += kWindow;
    ASSERT_LT(start + kWindow, out.size()) << "the next track is in the recording";
    EXPECT_LT(ToneAmplitude(out, start - kWindow * 5, start + kWindow, 660), 0.05);
}

// The sound server's tests that listen to its sink from the start.
class EnginePulseHeard : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pulse.Start()) << "pulseaudio did not start"; }

    TempFolder folder;
    RecordedEngine pulse{folder};
};

// A pause is silent at the place the position tells, and the play after it
// goes on from there: heard before the pause is what the position said, and
// all of it is heard once.
TEST_F(EnginePulseHeard, PauseIsSilentWhereThePositionSaysAndPlayGoesOnFromThere)
{
    WriteToneWav(folder.File("tone.wav"), 3.0, 660, 0.5);
    const HSTREAM stream = pulse.PlayPast("tone.wav", 1);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(pulse.engine->AudioPause(stream));
    const double paused = pulse.Seconds(stream);
    Sleep(1.0);
    EXPECT_EQ(pulse.Seconds(stream), paused) << "held while paused";
    ASSERT_TRUE(pulse.engine->AudioPlay(stream));
    const std::vector<float> out = pulse.HeardToTheEndOf(stream);

    // The pause is the first silent 10 ms window after the sound began, the
    // resume the next one that is not.
    const auto sounds = [&](std::size_t begin, std::size_t end) {
        return CountAudible({out.begin() + long(begin), out.begin() + long(end)}) > 0;
    };
    const Span heard = Audible(out);
    const std::size_t gap = WhileWindows(out, heard.begin, sounds);
    const std::size_t resumed =
        WhileWindows(out, gap, [&](std::size_t b, std::size_t e) { return !sounds(b, e); });
    const double before = double(gap - heard.begin) / kFixtureRate;
    EXPECT_NEAR(before, paused, 0.03) << "heard before the pause";
    EXPECT_NEAR(before + double(heard.end - resumed) / kFixtureRate, 3.0, 0.03) << "all of it, once";
}

// A seek drops what the server had queued: what was heard of the old place
// ends where the position said, and nothing of it comes after the new one.
TEST_F(EnginePulseHeard, ASeekLeavesNothingOfTheOldPlaceToBeHeard)
{
    WriteTonesWav(folder.File("tones.wav"), {{2.0, 440}, {1.0, 880}});
    const HSTREAM stream = pulse.PlayPast("tones.wav", 0.5);
    ASSERT_NE(stream, 0u);
    const double seekAt = pulse.Seconds(stream);
    ASSERT_TRUE(pulse.engine->AudioSetPosition(stream, 2 * kBytesPerSecond));
    const std::vector<float> out = pulse.HeardToTheEndOf(stream);

    const Span heard = Audible(out);
    const std::size_t next = WhileWindows(
        out, heard.begin, [&](std::size_t b, std::size_t e) { return ToneAmplitude(out, b, e, 880) < 0.25; });
    ASSERT_LT(next, heard.end) << "the new place is in the recording";
    const std::size_t old = WhileWindows(
        out, heard.begin, [&](std::size_t b, std::size_t e) { return ToneAmplitude(out, b, e, 440) > 0.25; });
    EXPECT_NEAR(double(old - heard.begin) / kFixtureRate, seekAt, 0.03) << "heard of the old place";
    EXPECT_LT(ToneAmplitude(out, next + kFixtureRate / 30, heard.end, 440), 0.02)
        << "the old place after the new";
}

// The volume is the stream's own at the server: half is heard as half, from
// where the position was when it was set, not after the queue.
TEST_F(EnginePulseHeard, AVolumeChangeIsHeardAtOnceAndAtItsLevel)
{
    WriteToneWav(folder.File("tone.wav"), 2.0, 660, 0.5);
    const HSTREAM stream = pulse.PlayPast("tone.wav", 1);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(pulse.engine->AudioSetVolume(50));
    const double setAt = pulse.Seconds(stream);
    const std::vector<float> out = pulse.HeardToTheEndOf(stream);

    const Span heard = Audible(out);
    const std::size_t half = WhileWindows(
        out, heard.begin, [&](std::size_t b, std::size_t e) { return ToneAmplitude(out, b, e, 660) > 0.4; });
    EXPECT_NEAR(double(half - heard.begin) / kFixtureRate, setAt, 0.03) << "heard at full volume";
    EXPECT_NEAR(ToneAmplitude(out, half + kFixtureRate / 30, heard.end - kFixtureRate / 100, 660), 0.25,
                0.02);
}

// Two tracks through the server, with the transport's calls at the advance:
// the next one opened ahead follows the last frame of the first, no silence
// between.
TEST_F(EnginePulseHeard, ATrackPreparedAheadFollowsTheLastOneWithNoSilence)
{
    WriteToneWav(folder.File("first.wav"), 1.0, 440, 0.5);
    WriteToneWav(folder.File("next.wav"), 1.0, 660, 0.5);
    AudioEngine& engine = *pulse.engine;
    const HSTREAM first = pulse.Play("first.wav");
    ASSERT_TRUE(engine.AudioPrepareNext(folder.File("next.wav").c_str()));
    ASSERT_TRUE(WaitUntil([&] { return engine.AudioIsActive(first) == 0; }, 5));
    ASSERT_TRUE(engine.AudioStop(first));
    ASSERT_TRUE(engine.AudioStreamFree(first));
    ASSERT_TRUE(engine.AudioInit());
    const HSTREAM next = pulse.Play("next.wav");
    const std::vector<float> out = pulse.HeardToTheEndOf(next);

    // In 1 ms windows, every one carries a tone.
    const Span heard = Audible(out);
    constexpr std::size_t kWindow = kFixtureRate / 1000;
    std::size_t silent = 0;
    for (std::size_t at = heard.begin; at + kWindow <= heard.end; at += kWindow)
        silent += CountAudible({out.begin() + long(at), out.begin() + long(at + kWindow)}) == 0;
    EXPECT_EQ(silent, 0u);
    // The first tone ends within a 10 ms window, and the next is whole after it.
    const std::size_t joint = WhileWindows(
        out, heard.begin, [&](std::size_t b, std::size_t e) { return ToneAmplitude(out, b, e, 440) > 0.25; });
    EXPECT_NEAR(double(heard.end - joint) / kFixtureRate, 1.0, 0.011);
}
