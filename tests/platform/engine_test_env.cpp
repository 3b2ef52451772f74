#include "engine_test_env.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "lirvan-engine-XXXXXX").string();
    m_path = mkdtemp(pattern.data()) ? pattern : std::string();
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::unique_ptr<AudioEngine> StartDiskEngine(const std::string& capture)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    engine->AudioInit();
    return engine;
}

bool WaitUntil(const std::function<bool()>& done, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }
