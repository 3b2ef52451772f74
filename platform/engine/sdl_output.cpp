#include "platform/engine/sdl_output.h"

#include "platform/engine/decoder.h"
#include "platform/engine/stream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

// 1,024 frames a callback: 23 ms, short enough that play, pause and seeks are
// heard at once, long enough not to starve on a busy machine.
constexpr Uint16 kCallbackFrames = 1024;

void WarnSilentOnce(const char* reason)
{
    static std::once_flag once;
    std::call_once(once, [reason] {
        std::fprintf(stderr, "lirvan1: no sound device (%s); playing silently\n", reason);
    });
}

} // namespace

SdlOutput::~SdlOutput()
{
    if (m_device)
        SDL_CloseAudioDevice(m_device);
    if (m_subsystem)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    else if (m_driver)
        SDL_AudioQuit();
    if (SDL_WasInit(0) == 0)
        SDL_Quit(); // frees what SDL keeps beyond its subsystems
}

bool SdlOutput::Open()
{
    if (m_device)
        return true;
    m_subsystem = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (m_subsystem)
        m_device = OpenDevice();
    if (!m_device) {
        WarnSilentOnce(SDL_GetError());
        if (m_subsystem) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            m_subsystem = false;
        }
        m_driver = SDL_AudioInit("dummy") == 0;
        if (m_driver)
            m_device = OpenDevice();
    }
    if (m_device)
        SDL_PauseAudioDevice(m_device, 0);
    return m_device != 0;
}

SDL_AudioDeviceID SdlOutput::OpenDevice()
{
    SDL_AudioSpec wanted{};
    wanted.freq = kOutputRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kCallbackFrames;
    wanted.callback = &SdlOutput::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts for the device if it must.
    return SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
}

void SdlOutput::Attach(Stream* stream)
{
    SDL_LockAudioDevice(m_device);
    m_streams.push_back(stream);
    SDL_UnlockAudioDevice(m_device);
}

void SdlOutput::Detach(Stream* stream)
{
    SDL_LockAudioDevice(m_device);
    m_streams.erase(std::remove(m_streams.begin(), m_streams.end(), stream), m_streams.end());
    SDL_UnlockAudioDevice(m_device);
}

void SDLCALL SdlOutput::Callback(void* self, Uint8* buffer, int bytes)
{
    const SdlOutput& output = *static_cast<SdlOutput*>(self);
    std::memset(buffer, 0, std::size_t(bytes));
    const std::uint32_t volume = output.Volume();
    for (Stream* stream : output.m_streams)
        stream->MixInto(reinterpret_cast<std::int16_t*>(buffer), std::uint32_t(bytes) / 4, volume);
}
