#include "platform/engine/default_output.h"

#include "platform/engine/module_loader.h"
#include "platform/engine/sdl_output_module.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

// Whether the sound server may be asked directly: unless another of SDL's
// drivers is asked for by name.
bool ServerAllowed()
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return !driver || !*driver || std::strcmp(driver, "pulseaudio") == 0;
}

// Whether a sound system is seen at this moment: a driver or a server asked
// for by name, sound hardware, or a sound server's socket. Looked at again at
// every open, never once for good.
bool SoundSystemSeen()
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

OutputDevice* DefaultOutput::Sdl(bool silent)
{
    if (!m_sdlTried) {
        m_sdlTried = true;
        const auto entry = reinterpret_cast<decltype(&lirvan_open_sdl_output_v2)>(
            LoadModuleEntry(kSdlOutputModule, std::string(), kSdlOutputEntry, "SDL's output"));
        if (entry) {
            m_sdl.reset(entry(&m_source, false));
            m_silent.reset(entry(&m_source, true));
        }
    }
    return silent ? m_silent.get() : m_sdl.get();
}

bool DefaultOutput::Open()
{
    if (m_open) return true;
    OutputDevice* opened = nullptr;
    if (ServerAllowed() && m_server.Open()) {
        opened = &m_server;
    } else if (OutputDevice* sdl = Sdl(false); sdl && sdl->Open()) {
        opened = sdl;
    } else if (OutputDevice* silent = Sdl(true); silent && !SoundSystemSeen() && silent->Open()) {
        opened = silent;
    }
    if (!opened) return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = opened;
    // A volume set while it opened.
    m_open->SetVolume(m_source.Volume());
    return true;
}

void DefaultOutput::Close()
{
    if (!m_open) return;
    std::uint64_t head = 0;
    bool queued = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const std::uint64_t left = m_open->Queued();
        head = m_source.Written() - std::min(left, m_source.Written());
        // The silent stand-in's sound went nowhere anyway.
        queued = left > 0 && !m_open->StandIn();
        m_open->Close();
        m_open = nullptr;
    }
    if (queued && m_onQueueLost) m_onQueueLost(head);
}

void DefaultOutput::Run(bool running)
{
    if (m_open) m_open->Run(running);
}

void DefaultOutput::ReleaseThread()
{
    if (m_sdl) m_sdl->ReleaseThread();
    if (m_silent) m_silent->ReleaseThread();
}

std::uint64_t DefaultOutput::Queued()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open ? m_open->Queued() : 0;
}

std::uint64_t DefaultOutput::Head()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::uint64_t written = m_source.Written();
    const std::uint64_t queued = m_open ? m_open->Queued() : 0;
    return written - std::min(queued, written);
}

void DefaultOutput::Refill(bool flush)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_open) m_open->Refill(flush);
}

void DefaultOutput::SetVolume(std::uint32_t volume)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_open) m_open->SetVolume(volume);
}
