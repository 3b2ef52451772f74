#pragma once
// The output device the engine plays through: the sound server straight
// through its own client library when one answers, since that wakes the
// player a fraction as often as SDL's client for the same sound; SDL's
// drivers otherwise (ALSA, PipeWire's own, the silent dummy), and always when
// SDL_AUDIODRIVER names a driver other than "pulseaudio" (the disk writer
// that captures the output, say).
//
// Threads: as OutputDevice, one thread at a time (the output keeper's).

#include "platform/engine/output_device.h"
#include "platform/engine/pulse_output.h"
#include "platform/engine/sdl_output.h"

class StreamMixer;

class DefaultOutput final : public OutputDevice {
public:
    // `mixer` outlives the output.
    explicit DefaultOutput(StreamMixer& mixer) : m_server(mixer), m_sdl(mixer) { }

    bool Open() override;
    void Close() override;
    bool Lost() const override { return m_open && m_open->Lost(); }
    void Run(bool running) override;
    void ReleaseThread() override { m_sdl.ReleaseThread(); }

private:
    PulseOutput m_server;
    SdlOutput m_sdl;
    OutputDevice* m_open = nullptr; // the one of the two that is open
};
