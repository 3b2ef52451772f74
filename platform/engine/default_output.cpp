#include "platform/engine/default_output.h"

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

bool DefaultOutput::Open()
{
    if (m_open) return true;
    if (ServerAllowed() && m_server.Open())
        m_open = &m_server;
    else if (m_sdl.Open())
        m_open = &m_sdl;
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
