// The engine's and the decoders' modules: the player starts without them, and a
// module that is missing or broken makes stream creation fail as a bad file
// does, with one line on standard error.

#include "engine_test_env.h"
#include "platform/engine/decoder.h"
#include "platform/engine/module_audio_engine.h"
#include "tests/support/audio_fixtures.h"

#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class DecoderModules : public testing::Test {
protected:
    void TearDown() override { UseDecoderModulesFrom(""); }
};

std::string Maps(pid_t pid)
{
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    return {std::istreambuf_iterator<char>(maps), std::istreambuf_iterator<char>()};
}

// The player, a copy of the build tree's at `exe`, started offscreen with SDL's
// dummy output and `file` on its command line when one is given; what it says
// goes to `log`, and its playlists to the data folder `data`.
pid_t StartPlayer(const std::string& exe, const std::string& log, const std::string& data,
                  const char* file = nullptr)
{
    const pid_t player = fork();
    if (player == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        // What it loads is the question here; the window under the sanitizers
        // is the window tests' business. The engine's ThreadSanitizer options
        // would stop it at a race inside Qt's own threads; at the defaults
        // such a finding is only written to the log.
        unsetenv("TSAN_OPTIONS");
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        execl(exe.c_str(), "lirvan1", file, nullptr);
        _exit(127);
    }
    return player;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Stop(pid_t player)
{
    int status = 0;
    kill(player, SIGKILL);
    waitpid(player, &status, 0);
}

} // namespace

TEST_F(DecoderModules, MissingOrBrokenOnesFailCreationWithOneLineUntilOneLoads)
{
    TempFolder folder;
    const std::string tone = folder.File("tone.wav"), tune = folder.File("tune.mid"),
                      song = folder.File("song.mp3");
    WriteToneWav(tone, 0.5, 440);
    WriteMidi(tune, {{0, 480, 60}});
    ASSERT_TRUE(EncodeWith("-i " + tone + " -c:a libmp3lame " + song));
    std::unique_ptr<AudioEngine> engine = StartDiskEngine(folder.File("out.raw"));
    const char* const modules[] = {"liblirvan_mpg123.so", "liblirvan_ffmpeg.so", "liblirvan_midi.so"};
    // A real library, but not a decoder module: it has no entry to call.
    Dl_info library{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&SDL_GetVersion), &library), 0);
    std::filesystem::create_directory(folder.File("broken"));
    std::filesystem::create_directory(folder.File("foreign"));
    for (const std::string module : modules) {
        std::ofstream(folder.File("broken/" + module)) << "not a shared object";
        std::filesystem::copy_file(library.dli_fname, folder.File("foreign/" + module));
    }

    for (const char* place : {"missing", "broken", "foreign"}) {
        SCOPED_TRACE(place);
        UseDecoderModulesFrom(folder.File(place));
        testing::internal::CaptureStderr();
        for (int attempt = 0; attempt < 2; ++attempt) {
            for (const std::string& file : {tone, tune, song})
                EXPECT_EQ(engine->AudioStreamCreateFile(file.c_str()), 0u) << file;
        }
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 3) << "one line a module:\n" << said;
        for (const char* module : modules) EXPECT_NE(said.find(module), std::string::npos) << said;
    }

    UseDecoderModulesFrom("");
    for (const std::string& file : {tone, tune, song}) {
        const HSTREAM stream = engine->AudioStreamCreateFile(file.c_str());
        EXPECT_NE(stream, 0u) << file;
        EXPECT_TRUE(engine->AudioStreamFree(stream));
    }
}

// MP3 at CD rate, the usual kind, is libmpg123's alone: FFmpeg's hundred
// libraries come in only with a file it does not take, here one at 48 kHz.
TEST_F(DecoderModules, CdRateMp3PlaysWithoutFfmpegAndAnotherRateStillPlays)
{
    TempFolder folder;
    const std::string cd = folder.File("cd.mp3"), dvd = folder.File("dvd.mp3");
    const std::string sine = "-f lavfi -i sine=frequency=440:duration=0.5 -c:a libmp3lame ";
    ASSERT_TRUE(EncodeWith(sine + "-ar 44100 " + cd));
    ASSERT_TRUE(EncodeWith(sine + "-ar 48000 " + dvd));
    // In a process of its own, so that no other test has loaded FFmpeg.
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            const auto plays = [](const std::string& file) {
                std::unique_ptr<Decoder> decoder = OpenDecoder(file.c_str());
                std::int16_t frames[2 * 1024];
                return decoder && decoder->Read(frames, 1024) == 1024;
            };
            std::string faults;
            if (!plays(cd)) faults += "cd.mp3 did not play\n";
            const std::string loaded = Maps(getpid());
            if (loaded.find("libmpg123") == std::string::npos) faults += "cd.mp3 did not load libmpg123\n";
            if (loaded.find("libavcodec") != std::string::npos) faults += "cd.mp3 loaded FFmpeg\n";
            if (!plays(dvd)) faults += "dvd.mp3 did not play\n";
            std::fputs(faults.c_str(), stderr);
            std::exit(faults.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(EngineModule, MissingOneFailsCreationWithOneLineAndTheDefaultOnePlays)
{
    TempFolder folder;
    const std::string tone = folder.File("tone.wav");
    WriteToneWav(tone, 0.5, 440);
    ModuleAudioEngine missing(folder.File("missing"));
    EXPECT_EQ(missing.AudioGetVolume(), kAudioVolumeUnknown);
    ASSERT_TRUE(missing.AudioInit());
    EXPECT_TRUE(missing.AudioSetVolume(40));
    EXPECT_EQ(missing.AudioGetVolume(), 40u);
    testing::internal::CaptureStderr();
    for (int attempt = 0; attempt < 2; ++attempt) EXPECT_EQ(missing.AudioStreamCreateFile(tone.c_str()), 0u);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("liblirvan_engine.so"), std::string::npos) << said;
    EXPECT_EQ(missing.AudioIsActive(1), 0u);

    // The volume set before the load is the loaded engine's.
    ModuleAudioEngine loaded;
    ASSERT_TRUE(loaded.AudioInit());
    EXPECT_TRUE(loaded.AudioSetVolume(40));
    const HSTREAM stream = loaded.AudioStreamCreateFile(tone.c_str());
    ASSERT_NE(stream, 0u);
    EXPECT_GT(loaded.AudioGetLength(stream), 0u);
    EXPECT_EQ(loaded.AudioGetVolume(), 40u);
    EXPECT_TRUE(loaded.AudioStreamFree(stream));
}

TEST_F(DecoderModules, PlayerStartsWithoutThemLoaded)
{
    // A copy of its own, with no modules beside it.
    TempFolder folder;
    std::filesystem::create_directory(folder.File("pl"));
    std::filesystem::copy_file(LIRVAN_PLAYER, folder.File("lirvan1"));
    const pid_t player = StartPlayer(folder.File("lirvan1"), folder.File("player.log"), folder.File("data"));
    ASSERT_GT(player, 0);
    // The window is up once Qt has loaded its platform plugin and the window
    // has been shown; a moment later nothing more should have come in.
    const bool started =
        WaitUntil([&] { return Maps(player).find("libqoffscreen") != std::string::npos; }, 20);
    Sleep(0.5);
    int status = 0;
    const bool running = waitpid(player, &status, WNOHANG) == 0;
    const std::string maps = Maps(player);
    Stop(player);

    ASSERT_TRUE(started && running) << ReadAll(folder.File("player.log"));
    for (const char* library :
         {"liblirvan_", "libmpg123", "libavformat", "libavcodec", "libfluidsynth", "libSDL2", "libkissfft"})
        EXPECT_EQ(maps.find(library), std::string::npos) << library << " is loaded at start";
}

// A portable folder has the modules beside the executable, the package in its
// module folder; the engine's decoders are beside the engine. An executable
// without them anywhere of its own loads none, though the build tree has them.
TEST_F(DecoderModules, PlayerFindsThemOnlyRelativeToItself)
{
    namespace fs = std::filesystem;
    TempFolder folder;
    const std::string tone = folder.File("tone.wav");
    WriteToneWav(tone, 5, 440);
    const fs::path built = fs::path(LIRVAN_PLAYER).parent_path();
    struct Layout {
        const char* exe;
        std::string modules; // empty: none
    };
    const Layout layouts[] = {{"portable/lirvan1", "portable"},
                              {"usr/bin/lirvan1", "usr/bin/" LIRVAN_MODULES_FROM_EXE},
                              {"bare/usr/bin/lirvan1", ""}};
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.exe);
        const std::string exe = folder.File(layout.exe);
        fs::create_directories(fs::path(exe).parent_path());
        fs::copy_file(LIRVAN_PLAYER, exe);
        std::string modules;
        if (!layout.modules.empty()) {
            fs::create_directories(folder.File(layout.modules));
            modules = fs::canonical(folder.File(layout.modules)).string();
            for (const char* module : {"liblirvan_engine.so", "liblirvan_ffmpeg.so"})
                fs::copy_file(built / module, modules + "/" + module);
        }
        const std::string log = exe + ".log";
        const pid_t player = StartPlayer(exe, log, folder.File("data"), tone.c_str());
        ASSERT_GT(player, 0);
        if (!modules.empty()) {
            EXPECT_TRUE(WaitUntil(
                [&] { return Maps(player).find(modules + "/liblirvan_ffmpeg.so") != std::string::npos; }, 20))
                << Maps(player) << ReadAll(log);
        } else {
            EXPECT_TRUE(WaitUntil([&] { return ReadAll(log).find("cannot load") != std::string::npos; }, 20))
                << ReadAll(log);
            EXPECT_EQ(Maps(player).find("liblirvan_"), std::string::npos);
        }
        Stop(player);
    }
}
