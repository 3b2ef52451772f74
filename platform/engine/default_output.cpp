#include "platform/engine/default_output.h"

#include "platform/engine/module_loader.h"
#include "platform/engine/sdl_output_module.h"

#include <cstdlib>
#include <cstring>

namespace {

// Whether the sound server may be asked directly: unless another of SDL's
// drivers is asked for by name.
bool ServerAllowed()
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return !driver || !*driver || std::strcmp(driver, "pulseaudio") == 0;
}

} // namespace

OutputDevice* DefaultOutput::Sdl()
{
    if (!m_sdlTried) {
        m_sdlTried = true;
        const auto entry = reinterpret_cast<decltype(&lirvan_open_sdl_output_v1)>(
            LoadModuleEntry(kSdlOutputModule, std::string(), kSdlOutputEntry, "SDL's output"));
        if (entry) m_sdl.reset(entry(&m_source));
    }
    return m_sdl.get();
}

bool DefaultOutput::Open()
{
    if (m_open) return true;
    if (ServerAllowed() && m_server.Open()) {
        m_open = &m_server;
    } else if (OutputDevice* sdl = Sdl(); sdl && sdl->Open()) {
        m_open = sdl;
    }
    return m_open != nullptr;
}

void DefaultOutput::Close()
{
    if (m_open) m_open->Close();
    m_open = nullptr;
}

void DefaultOutput::Run(bool running)
{
    if (m_open) m_open->Run(running);
}

void DefaultOutput::ReleaseThread()
{
    if (m_sdl) m_sdl->ReleaseThread();
}
