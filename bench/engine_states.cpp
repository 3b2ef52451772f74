// Not a benchmark: drives the engine alone, with no window, through playing,
// paused and stopped, a few seconds each, so that a script can watch its
// threads in each state (bench/playing_cost.sh):
//
//     engine_states FILE [SECONDS]     (default 6)
//
// Each state's name goes to standard output as it begins.

#include "platform/engine/module_audio_engine.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s FILE [SECONDS]\n", argv[0]);
        return 2;
    }
    const std::chrono::duration<double> phase(argc == 3 ? std::atof(argv[2]) : 6.0);
    std::unique_ptr<AudioEngine> engine = CreateModuleAudioEngine();
    engine->AudioInit();
    const HSTREAM stream = engine->AudioStreamCreateFile(argv[1]);
    if (stream == 0) {
        std::fprintf(stderr, "cannot play %s\n", argv[1]);
        return 1;
    }
    const auto enter = [&](const char* state) {
        std::printf("%s\n", state);
        std::fflush(stdout);
        std::this_thread::sleep_for(phase);
    };
    engine->AudioPlay(stream);
    enter("playing");
    engine->AudioPause(stream);
    enter("paused");
    engine->AudioStop(stream);
    enter("stopped");
    engine->AudioStreamFree(stream);
    return 0;
}
