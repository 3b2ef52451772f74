#include "platform/engine/sdl_output.h"

#include "platform/engine/decoder.h"
#include "platform/engine/sdl_output_module.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>

namespace {

// 2,048 frames a callback: 46 ms, so that play, pause and seeks are still
// heard at once, while the audio thread and the sound server's client wake
// half as often as with 1,024 (the larger part of the player's CPU while it
// plays).
constexpr Uint16 kCallbackFrames = 2048;

void WarnSilentOnce(const char* reason)
{
    static std::once_flag once;
    std::call_once(once, [reason] {
        std::fprintf(stderr, "lirvan1: no sound device (%s); playing silently\n", reason);
    });
}

// Whether a device may yet appear: a driver asked for by name, sound
// hardware, or a sound server that has a socket or an address. Without any of
// these the silent dummy output stands in for good.
bool HasSoundSystem()
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    if ((driver && *driver) || std::getenv("PULSE_SERVER")) return true;
    std::error_code ignored;
    if (std::filesystem::exists("/dev/snd", ignored)) return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) return false;
    const std::filesystem::path folder(runtime);
    return std::filesystem::exists(folder / "pulse" / "native", ignored) ||
        std::filesystem::exists(folder / "pipewire-0", ignored);
}

} // namespace

SdlOutput::~SdlOutput() { Close(); }

bool SdlOutput::Open()
{
    if (m_device) return true;
    // SDL would otherwise catch SIGINT and SIGTERM for an event queue that
    // nothing reads, and the player could no longer be ended by them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    m_subsystem = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (m_subsystem) m_device = OpenDevice();
    if (!m_device) {
        const std::string reason = SDL_GetError();
        Close();
        if (!HasSoundSystem()) {
            WarnSilentOnce(reason.c_str());
            m_driver = SDL_AudioInit("dummy") == 0;
            if (m_driver) m_device = OpenDevice();
        }
    }
    if (!m_device) Close();
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
    return SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
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
    output.m_source.Mix(reinterpret_cast<std::int16_t*>(buffer), std::uint32_t(bytes) / kBytesPerFrame);
}

OutputDevice* lirvan_open_sdl_output_v1(SoundSource* source) { return new SdlOutput(*source); }
