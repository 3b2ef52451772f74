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

} // namespace

TEST_F(DecoderModules, MissingOrBrokenOnesFailCreationWithOneLineUntilOneLoads)
{
    TempFolder folder;
    const std::string tone = folder.File("tone.wav"), tune = folder.File("tune.mid");
    WriteToneWav(tone, 0.5, 440);
    WriteMidi(tune, {{0, 480, 60}});
    std::unique_ptr<AudioEngine> engine = StartDiskEngine(folder.File("out.raw"));
    std::filesystem::create_directory(folder.File("broken"));
    std::ofstream(folder.File("broken/liblirvan_ffmpeg.so")) << "not a shared object";
    std::ofstream(folder.File("broken/liblirvan_midi.so")) << "not a shared object";
    // A real library, but not a decoder module: it has no entry to call.
    Dl_info library{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&SDL_GetVersion), &library), 0);
    std::filesystem::create_directory(folder.File("foreign"));
    for (const char* module : {"liblirvan_ffmpeg.so", "liblirvan_midi.so"})
        std::filesystem::copy_file(library.dli_fname, folder.File(std::string("foreign/") + module));

    for (const char* place : {"missing", "broken", "foreign"}) {
        SCOPED_TRACE(place);
        UseDecoderModulesFrom(folder.File(place));
        testing::internal::CaptureStderr();
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_EQ(engine->AudioStreamCreateFile(false, tone.c_str(), 0, 0, 0), 0u);
            EXPECT_EQ(engine->AudioStreamCreateFile(false, tune.c_str(), 0, 0, 0), 0u);
        }
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << "one line a module:\n" << said;
        EXPECT_NE(said.find("liblirvan_ffmpeg.so"), std::string::npos) << said;
        EXPECT_NE(said.find("liblirvan_midi.so"), std::string::npos) << said;
    }

    UseDecoderModulesFrom("");
    for (const std::string& file : {tone, tune}) {
        const HSTREAM stream = engine->AudioStreamCreateFile(false, file.c_str(), 0, 0, 0);
        EXPECT_NE(stream, 0u) << file;
        EXPECT_TRUE(engine->AudioStreamFree(stream));
    }
}

TEST(EngineModule, MissingOneFailsCreationWithOneLineAndTheDefaultOnePlays)
{
    TempFolder folder;
    const std::string tone = folder.File("tone.wav");
    WriteToneWav(tone, 0.5, 440);
    ModuleAudioEngine missing(folder.File("missing"));
    EXPECT_EQ(missing.AudioGetVolume(), kAudioVolumeUnknown);
    ASSERT_TRUE(missing.AudioInit(-1, kOutputRate, 0, nullptr, nullptr));
    EXPECT_TRUE(missing.AudioSetVolume(40));
    EXPECT_EQ(missing.AudioGetVolume(), 40u);
    testing::internal::CaptureStderr();
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_EQ(missing.AudioStreamCreateFile(false, tone.c_str(), 0, 0, 0), 0u);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("liblirvan_engine.so"), std::string::npos) << said;
    EXPECT_EQ(missing.AudioIsActive(1), 0u);

    // The volume set before the load is the loaded engine's.
    ModuleAudioEngine loaded;
    ASSERT_TRUE(loaded.AudioInit(-1, kOutputRate, 0, nullptr, nullptr));
    EXPECT_TRUE(loaded.AudioSetVolume(40));
    const HSTREAM stream = loaded.AudioStreamCreateFile(false, tone.c_str(), 0, 0, 0);
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
    const pid_t player = fork();
    if (player == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // What it loads is the question here; the window under the sanitizers
        // is the window tests' business. The engine's ThreadSanitizer options
        // would stop it at a race inside Qt's own threads; at the defaults
        // such a finding is only written to the log.
        unsetenv("TSAN_OPTIONS");
        const int log = open(folder.File("player.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
        execl(folder.File("lirvan1").c_str(), "lirvan1", nullptr);
        _exit(127);
    }
    ASSERT_GT(player, 0);
    // The window is up once Qt has loaded its platform plugin and the window
    // has been shown; a moment later nothing more should have come in.
    const bool started =
        WaitUntil([&] { return Maps(player).find("libqoffscreen") != std::string::npos; }, 20);
    Sleep(0.5);
    int status = 0;
    const bool running = waitpid(player, &status, WNOHANG) == 0;
    const std::string maps = Maps(player);
    kill(player, SIGKILL);
    waitpid(player, &status, 0);

    std::ifstream log(folder.File("player.log"));
    ASSERT_TRUE(started && running) << std::string(std::istreambuf_iterator<char>(log), {});
    for (const char* library : {"liblirvan_", "libavformat", "libavcodec", "libfluidsynth", "libSDL2"})
        EXPECT_EQ(maps.find(library), std::string::npos) << library << " is loaded at start";
}
