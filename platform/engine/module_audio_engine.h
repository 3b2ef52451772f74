#pragma once
// The system's engine, loaded from its module when the first stream is created:
// until then the player has linked none of the sound libraries. Before the load
// this object answers the thirteen operations itself as the engine would with
// no stream (AudioInit and the volume are kept and handed over at the load).
// An engine module that cannot be loaded makes stream creation fail as a bad
// file does, with one line on standard error, and is not tried again.
//
// Threads: calls may come from any thread and take turns; once loaded, the
// engine (which has the same rule) runs them.

#include "platform/audio_engine.h"

#include <memory>
#include <mutex>
#include <string>

class ModuleAudioEngine final : public AudioEngine {
public:
    // folder: where the module is; empty for the usual places (see module_loader.h).
    explicit ModuleAudioEngine(std::string folder = {}) : m_folder(std::move(folder)) { }

    LIRVAN_AUDIO_ENGINE_OPERATIONS

private:
    // The loaded engine, or nullptr while none is; it lives as long as this object.
    AudioEngine* Loaded();

    const std::string m_folder;
    std::mutex m_mutex; // guards everything below
    std::unique_ptr<AudioEngine> m_engine;
    bool m_tried = false;
    // Whether AudioInit was called, which the engine is then told at its load.
    bool m_initialised = false;
    // The output's volume before AudioInit is as the engine starts it: full.
    std::uint32_t m_volume = 100;
};

// The engine the player itself plays through.
std::unique_ptr<AudioEngine> CreateModuleAudioEngine();
