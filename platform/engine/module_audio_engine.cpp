#include "platform/engine/module_audio_engine.h"

#include "platform/engine/engine_module.h"
#include "platform/engine/module_loader.h"

AudioEngine* ModuleAudioEngine::Loaded()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_engine.get();
}

bool ModuleAudioEngine::AudioInit()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_engine) return m_engine->AudioInit();
    m_initialised = true;
    return true;
}

HSTREAM ModuleAudioEngine::AudioStreamCreateFile(const char* path)
{
    AudioEngine* engine;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_engine && m_initialised && !m_tried) {
            m_tried = true;
            const auto create = reinterpret_cast<decltype(&lirvan_create_engine_v1)>(
                LoadModuleEntry(kEngineModule, m_folder, kEngineEntry, "the sound output"));
            if (create) {
                m_engine.reset(create());
                m_engine->AudioInit();
                m_engine->AudioSetVolume(m_volume);
            }
        }
        engine = m_engine.get();
    }
    return engine ? engine->AudioStreamCreateFile(path) : 0;
}

// Until the engine is loaded there is no stream, so every handle is dead.
bool ModuleAudioEngine::AudioStreamFree(HSTREAM handle)
{
    AudioEngine* engine = Loaded();
    return engine && engine->AudioStreamFree(handle);
}

bool ModuleAudioEngine::AudioPlay(HSTREAM handle)
{
    AudioEngine* engine = Loaded();
    return engine && engine->AudioPlay(handle);
}

bool ModuleAudioEngine::AudioPause(HSTREAM handle)
{
    AudioEngine* engine = Loaded();
    return engine && engine->AudioPause(handle);
}

bool ModuleAudioEngine::AudioStop(HSTREAM handle)
{
    AudioEngine* engine = Loaded();
    return engine && engine->AudioStop(handle);
}

std::uint32_t ModuleAudioEngine::AudioIsActive(HSTREAM handle)
{
    AudioEngine* engine = Loaded();
    return engine ? engine->AudioIsActive(handle) : 0;
}

std::uint64_t ModuleAudioEngine::AudioGetLength(HSTREAM handle)
{
    AudioEngine* engine = Loaded();
    return engine ? engine->AudioGetLength(handle) : 0;
}

std::uint64_t ModuleAudioEngine::AudioGetPosition(HSTREAM handle)
{
    AudioEngine* engine = Loaded();
    return engine ? engine->AudioGetPosition(handle) : 0;
}

bool ModuleAudioEngine::AudioSetPosition(HSTREAM handle, std::uint64_t position)
{
    AudioEngine* engine = Loaded();
    return engine && engine->AudioSetPosition(handle, position);
}

std::uint32_t ModuleAudioEngine::AudioGetData(HSTREAM handle, void* buffer, std::uint32_t request)
{
    AudioEngine* engine = Loaded();
    return engine ? engine->AudioGetData(handle, buffer, request) : kAudioDataError;
}

std::uint32_t ModuleAudioEngine::AudioGetVolume()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_engine) return m_engine->AudioGetVolume();
    return m_initialised ? m_volume : kAudioVolumeUnknown;
}

bool ModuleAudioEngine::AudioSetVolume(std::uint32_t volume)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_engine) return m_engine->AudioSetVolume(volume);
    if (!m_initialised || volume > 100) return false;
    m_volume = volume;
    return true;
}

// Before the first stream nothing is loaded, and nothing plays to be joined.
bool ModuleAudioEngine::AudioPrepareNext(const char* path)
{
    AudioEngine* engine = Loaded();
    return engine && engine->AudioPrepareNext(path);
}

std::unique_ptr<AudioEngine> CreateModuleAudioEngine() { return std::make_unique<ModuleAudioEngine>(); }
