#pragma once
// The output device the engine plays through: the sound server straight
// through its own client library when one answers, since that wakes the
// player a fraction as often as SDL's client for the same sound; SDL's
// drivers otherwise (ALSA, PipeWire's own, the silent dummy), and always when
// SDL_AUDIODRIVER names a driver other than "pulseaudio" (the disk writer
// that captures the output, say). SDL's output is a module loaded the first
// time it is needed; one that cannot be loaded is said once on standard error
// and leaves the server alone to be tried again.
//
// Threads: as OutputDevice, one thread at a time (the output keeper's).

#include "platform/engine/output_device.h"
#include "platform/engine/pulse_output.h"
#include "platform/engine/sound_source.h"

#include <memory>

class DefaultOutput final : public OutputDevice {
public:
    // `source` outlives the output.
    explicit DefaultOutput(SoundSource& source) : m_source(source), m_server(source) { }

    bool Open() override;
    void Close() override;
    bool Lost() const override { return m_open && m_open->Lost(); }
    void Run(bool running) override;
    void ReleaseThread() override;

private:
    // SDL's output, loading its module the first time; nullptr when it cannot.
    OutputDevice* Sdl();

    SoundSource& m_source;
    PulseOutput m_server;
    bool m_sdlTried = false;
    std::unique_ptr<OutputDevice> m_sdl;
    OutputDevice* m_open = nullptr; // the one of the two that is open
};
