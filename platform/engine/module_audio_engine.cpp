#include "platform/engine/module_audio_engine.h"

#include "platform/engine/engine_module.h"
#include "platform/engine/module_loader.h"

AudioEngine* ModuleAudioEngine::Loaded()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_engine.get();
}

bool ModuleAudioEngine::AudioInit(int device, std::uint32_t freq, std::uint32_t flags, void* window,
                                  const void* clsid)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_engine) return m_engine->AudioInit(device, freq, flags, window, clsid);
    if (!m_init) m_init = InitCall{device, freq, flags, window, clsid};
    return true;
}

HSTREAM ModuleAudioEngine::AudioStreamCreateFile(bool mem, const char* file, std::uint32_t offset,
                                                 std::uint32_t length, std::uint32_t flags)
{
    AudioEngine* engine;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_engine && m_init && !m_tried) {
            m_tried = true;
            const auto create = reinterpret_cast<decltype(&lirvan_create_engine_v1)>(
                LoadModuleEntry(kEngineModule, m_folder, kEngineEntry, "the sound output"));
            if (create) {
                m_engine.reset(create());
                m_engine->AudioInit(m_init->device, m_init->freq, m_init->flags, m_init->window,
                                    m_init->clsid);
                m_engine->AudioSetVolume(m_volume);
            }
        }
        engine = m_engine.get();
    }
    return engine ? engine->AudioStreamCreateFile(mem, file, offset, length, flags) : 0;
}

// Until the engine is loaded there is no stream, so every handle is dead.
bool ModuleAudioEngine::AudioStreamFree(HSTREAM handle)
{
    AudioEngine* engine = Loaded();
    return engine && engine->AudioStreamFree(handle);
}

bool ModuleAudioEngine::AudioPlay(HSTREAM handle, bool restart)
{
    AudioEngine* engine = Loaded();
    return engine && engine->AudioPlay(handle, restart);
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
    return m_init ? m_volume : kAudioVolumeUnknown;
}

bool ModuleAudioEngine::AudioSetVolume(std::uint32_t volume)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_engine) return m_engine->AudioSetVolume(volume);
    if (!m_init || volume > 100) return false;
    m_volume = volume;
    return true;
}

std::unique_ptr<AudioEngine> CreateModuleAudioEngine() { return std::make_unique<ModuleAudioEngine>(); }
