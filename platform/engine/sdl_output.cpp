#include "platform/engine/sdl_output.h"

#include "platform/engine/decoder.h"
#include "platform/engine/failure_note.h"
#include "platform/engine/sdl_output_module.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// 2,048 frames a callback: 46 ms, so that play, pause and seeks are still
// heard at once, while the audio thread and the sound server's client wake
// half as often as with 1,024 (the larger part of the player's CPU while it
// plays).
constexpr Uint16 kCallbackFrames = 2048;

// Why SDL's drivers could not be used, said once while it stays so.
FailureNote g_sdlNote;

} // namespace

SdlOutput::~SdlOutput() { Close(); }

bool SdlOutput::Open()
{
    if (m_device) return true;
    // SDL would otherwise catch SIGINT and SIGTERM for an event queue that
    // nothing reads, and the player could no longer be ended by them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (m_silent) {
        m_driver = SDL_AudioInit("dummy") == 0;
    } else {
        m_subsystem = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    if (m_subsystem || m_driver) m_device = OpenDevice();
    if (!m_device) {
        if (!m_silent) g_sdlNote.Say(std::string("SDL's audio output did not open: ") + SDL_GetError());
        Close();
    } else if (!m_silent) {
        g_sdlNote.Clear();
    }
    return m_device != 0;
}

void SdlOutput::Close()
{
    if (m_device) {
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    if (m_subsystem)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    else if (m_driver)
        SDL_AudioQuit();
    m_subsystem = m_driver = false;
    if (SDL_WasInit(0) == 0) SDL_Quit(); // frees what SDL keeps beyond its subsystems
}

bool SdlOutput::Lost() const { return m_device && SDL_GetAudioDeviceStatus(m_device) == SDL_AUDIO_STOPPED; }

void SdlOutput::Run(bool running)
{
    if (m_device) SDL_PauseAudioDevice(m_device, running ? 0 : 1);
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
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    m_bufferFrames.store(device ? obtained.samples : 0, std::memory_order_relaxed);
    return device;
}

void SDLCALL SdlOutput::Callback(void* self, Uint8* buffer, int bytes)
{
    SdlOutput& output = *static_cast<SdlOutput*>(self);
    // SDL goes on calling a device it has lost, its sound going nowhere: the
    // streams give nothing then, so their positions count only audio played.
    if (SDL_GetAudioDeviceStatus(output.m_device) != SDL_AUDIO_PLAYING) {
        std::memset(buffer, 0, std::size_t(bytes));
        return;
    }
    output.m_source.Mix(reinterpret_cast<std::int16_t*>(buffer), std::uint32_t(bytes) / kBytesPerFrame,
                        SoundSource::Fill::kWhole, true);
}

OutputDevice* lirvan_open_sdl_output_v2(SoundSource* source, bool silent)
{
    return new SdlOutput(*source, silent);
}
