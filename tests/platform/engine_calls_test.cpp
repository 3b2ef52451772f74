// The engine's calls: what they answer before AudioInit, for handle 0, for a
// freed handle and for files that hold nothing playable.

#include "engine_test_env.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/fake_platform.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <thread>

namespace {

constexpr float kUntouched = -7.0f;

// Every call on `handle` fails without effect and writes nothing.
void ExpectDead(AudioEngine& engine, HSTREAM handle)
{
    std::array<float, kSpectrumValues + 1> buffer;
    buffer.fill(kUntouched);
    EXPECT_FALSE(engine.AudioPlay(handle));
    EXPECT_FALSE(engine.AudioPause(handle));
    EXPECT_FALSE(engine.AudioStop(handle));
    EXPECT_FALSE(engine.AudioSetPosition(handle, 0));
    EXPECT_FALSE(engine.AudioStreamFree(handle));
    EXPECT_EQ(engine.AudioIsActive(handle), 0u);
    EXPECT_EQ(engine.AudioGetLength(handle), 0u);
    EXPECT_EQ(engine.AudioGetPosition(handle), 0u);
    EXPECT_EQ(engine.AudioGetData(handle, buffer.data(), kAudioDataFft2048), kAudioDataError);
    for (float value : buffer) ASSERT_EQ(value, kUntouched);
}

} // namespace

TEST(EngineCalls, FailWithoutEffectBeforeInitOnHandleZeroAndOnFreedHandles)
{
    TempFolder folder;
    const std::string tone = folder.File("tone.wav");
    WriteToneWav(tone, 1.0, 440);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", folder.File("out.raw").c_str(), 1);
    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();

    EXPECT_EQ(engine->AudioGetVolume(), kAudioVolumeUnknown);
    EXPECT_FALSE(engine->AudioSetVolume(50));
    EXPECT_EQ(engine->AudioStreamCreateFile(tone.c_str()), 0u);
    ExpectDead(*engine, 1);

    ASSERT_TRUE(engine->AudioInit());
    EXPECT_TRUE(engine->AudioInit());
    EXPECT_EQ(engine->AudioGetVolume(), 100u);
    EXPECT_FALSE(engine->AudioSetVolume(101));
    EXPECT_TRUE(engine->AudioSetVolume(40));
    EXPECT_EQ(engine->AudioGetVolume(), 40u);
    ExpectDead(*engine, 0);

    const HSTREAM first = engine->AudioStreamCreateFile(tone.c_str());
    ASSERT_NE(first, 0u);
    EXPECT_EQ(engine->AudioGetLength(first), kBytesPerSecond);
    EXPECT_EQ(engine->AudioGetPosition(first), 0u);
    EXPECT_EQ(engine->AudioIsActive(first), 0u) << "a new stream is stopped";
    EXPECT_FALSE(engine->AudioSetPosition(first, kBytesPerSecond + 4)) << "past the end";
    std::array<float, kSpectrumValues + 1> buffer;
    buffer.fill(kUntouched);
    EXPECT_EQ(engine->AudioGetData(first, buffer.data(), 0x80000001u), kAudioDataError);
    EXPECT_EQ(buffer[0], kUntouched) << "an unknown request writes nothing";

    ASSERT_TRUE(engine->AudioPlay(first));
    EXPECT_NE(engine->AudioIsActive(first), 0u);
    ASSERT_TRUE(engine->AudioStreamFree(first));
    ExpectDead(*engine, first);

    const HSTREAM second = engine->AudioStreamCreateFile(tone.c_str());
    EXPECT_GT(second, first) << "a freed handle is never handed out again";
    ExpectDead(*engine, first);
    EXPECT_EQ(engine->AudioGetLength(second), kBytesPerSecond);
}

TEST(EngineCalls, FilesWithNothingPlayableGiveNoStream)
{
    TempFolder folder;
    std::unique_ptr<AudioEngine> engine = StartDiskEngine(folder.File("out.raw"));
    const auto create = [&](const std::string& path) { return engine->AudioStreamCreateFile(path.c_str()); };

    const std::string tone = folder.File("tone.wav");
    WriteToneWav(tone, 0.5, 440);
    const std::string wav = ReadBytes(tone);
    WriteBytes(folder.File("empty.mp3"), "");
    WriteBytes(folder.File("header-cut.wav"), {wav.begin(), wav.begin() + 30});
    WriteBytes(folder.File("words.mp3"), "not audio\n");
    std::mt19937 random(1234);
    for (const int size : {100, 4096, 65536}) {
        std::string noise(std::size_t(size), 0);
        for (char& c : noise) c = char(random());
        WriteBytes(folder.File("noise" + std::to_string(size) + ".mp3"), noise);
    }
    ASSERT_TRUE(EncodeWith("-f lavfi -i testsrc=duration=0.5:size=64x48:rate=10 -an " +
                           folder.File("silent-film.avi")));
    WriteMidi(folder.File("song.mid"), {{0, 480, 60}});
    const std::string midi = ReadBytes(folder.File("song.mid"));
    WriteBytes(folder.File("cut.mid"), {midi.begin(), midi.end() - 6});
    WriteBytes(folder.File("header-only.mid"), {midi.begin(), midi.begin() + 14});
    WriteBytes(folder.File("wav-named.mid"), wav);
    std::string absurdRate = wav; // the header claims 536 MHz
    for (const int field : {24, 28}) std::memcpy(absurdRate.data() + field, "\x44\x33\x00\x20", 4);
    WriteBytes(folder.File("absurd-rate.wav"), absurdRate);
    // A pipe that nobody writes would block an open for good; a folder is no track.
    ASSERT_EQ(mkfifo(folder.File("pipe.mp3").c_str(), 0600), 0);
    std::filesystem::create_directory(folder.File("folder.mp3"));

    for (const char* name :
         {"missing.mp3", "empty.mp3", "header-cut.wav", "words.mp3", "noise100.mp3", "noise4096.mp3",
          "noise65536.mp3", "silent-film.avi", "cut.mid", "header-only.mid", "wav-named.mid",
          "absurd-rate.wav", "pipe.mp3", "folder.mp3", ""})
        EXPECT_EQ(create(folder.File(name)), 0u) << name;
    EXPECT_EQ(engine->AudioStreamCreateFile(nullptr), 0u);
    EXPECT_NE(create(tone), 0u) << "the same engine still plays good files";
}

TEST(EngineCalls, SeveralStreamsKeepTheirOwnState)
{
    TempFolder folder;
    std::unique_ptr<AudioEngine> engine = StartDiskEngine(folder.File("out.raw"));
    const std::string tone = folder.File("tone.wav");
    WriteToneWav(tone, 0.5, 440);
    const HSTREAM a = engine->AudioStreamCreateFile(tone.c_str());
    const HSTREAM b = engine->AudioStreamCreateFile(tone.c_str());
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    ASSERT_NE(a, b);

    ASSERT_TRUE(engine->AudioPlay(a));
    ASSERT_TRUE(engine->AudioSetPosition(b, 8000));
    ASSERT_TRUE(WaitUntil([&] { return engine->AudioGetPosition(a) > 20000; }, 2));
    EXPECT_EQ(engine->AudioIsActive(b), 0u);
    EXPECT_EQ(engine->AudioGetPosition(b), 8000u);

    ASSERT_TRUE(engine->AudioStreamFree(a));
    ASSERT_TRUE(engine->AudioPlay(b));
    EXPECT_TRUE(WaitUntil([&] { return engine->AudioIsActive(b) == 0; }, 3)) << "b plays to its end";
    EXPECT_EQ(engine->AudioGetPosition(b), engine->AudioGetLength(b));
}

TEST(EngineCalls, ClosingOrExitingWhileStreamsPlayEndsCleanly)
{
    TempFolder folder;
    WriteToneWav(folder.File("tone.wav"), 2.0, 440);
    WriteMidi(folder.File("song.mid"), {{0, 1920, 60}});
    const auto playBoth = [&](AudioEngine& engine) {
        for (const char* name : {"tone.wav", "song.mid"}) {
            const HSTREAM stream = engine.AudioStreamCreateFile(folder.File(name).c_str());
            ASSERT_TRUE(engine.AudioPlay(stream)) << name;
        }
        Sleep(0.1);
    };
    // The engine's destructor stops and joins everything.
    std::unique_ptr<AudioEngine> engine = StartDiskEngine(folder.File("out.raw"));
    playBoth(*engine);
    engine.reset();

    // The process may also end with the engine still playing.
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            // Held where leak checkers see it, never destroyed.
            static AudioEngine* leftPlaying = StartDiskEngine(folder.File("exit.raw")).release();
            playBoth(*leftPlaying);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

// The sound library must not take the terminate signal for itself: a player that
// has played something still ends when the session or a user ends it.
TEST(EngineCalls, TerminateSignalEndsAProcessThatHasPlayed)
{
    TempFolder folder;
    const std::string tone = folder.File("tone.wav");
    WriteToneWav(tone, 2.0, 440);
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            static AudioEngine* engine = StartDiskEngine(folder.File("out.raw")).release();
            const HSTREAM stream = engine->AudioStreamCreateFile(tone.c_str());
            engine->AudioPlay(stream);
            WaitUntil([&] { return engine->AudioGetPosition(stream) > 0; }, 5.0);
            std::raise(SIGTERM);
            std::this_thread::sleep_for(std::chrono::seconds(5));
            std::exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
}

TEST(EngineCalls, WithNoSoundServerPlayIsSilentHoldsThePositionAndSaysSoOnce)
{
    TempFolder folder;
    const std::string tone = folder.File("tone.wav");
    WriteToneWav(tone, 0.5, 440);
    // A sound server that is not there (yet): nothing may count as played.
    setenv("SDL_AUDIODRIVER", "pulseaudio", 1);
    setenv("PULSE_SERVER", ("unix:" + folder.File("no-such-socket")).c_str(), 1);
    ::testing::internal::CaptureStderr();
    for (int run = 0; run < 2; ++run) {
        std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
        ASSERT_TRUE(engine->AudioInit());
        const HSTREAM stream = engine->AudioStreamCreateFile(tone.c_str());
        ASSERT_TRUE(engine->AudioPlay(stream));
        Sleep(0.7);
        EXPECT_EQ(engine->AudioGetPosition(stream), 0u);
        EXPECT_NE(engine->AudioIsActive(stream), 0u);
        EXPECT_TRUE(engine->AudioPause(stream));
        EXPECT_TRUE(engine->AudioPlay(stream));
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    unsetenv("PULSE_SERVER");
    EXPECT_NE(said.find("no sound device"), std::string::npos) << said;
    EXPECT_EQ(said.find("no sound device"), said.rfind("no sound device")) << "once: " << said;
}
