#pragma once
// The output device the engine plays through, chosen afresh at every open:
// the sound server straight through its own client library when one answers,
// since that wakes the player a fraction as often as SDL's client for the
// same sound; SDL's real drivers otherwise (ALSA, PipeWire's own), and always
// when SDL_AUDIODRIVER names a driver other than "pulseaudio" (the disk writer
// that captures the output, say). Only when none opens and no sign of a sound
// system is seen (no driver or server named, no sound hardware, no server's
// socket) does SDL's silent dummy driver stand in, keeping real time; the
// keeper then opens again once a second, so the first real one that answers
// takes over. Where a sound system is seen but does not answer, nothing
// stands in: the keeper waits for it and the streams keep their place.
// SDL's output is a module loaded the first time it is needed; one that
// cannot be loaded is said once on standard error and leaves the server alone
// to be tried again.
//
// When a device closes with sound still queued (lost, or let go after a long
// pause), `onQueueLost` is called on the keeper's thread with the output frame
// being heard then, so that the streams go back to it and nothing is skipped.
//
// Threads: as OutputDevice.

#include "platform/engine/output_device.h"
#include "platform/engine/pulse_output.h"
#include "platform/engine/sound_source.h"

#include <functional>
#include <memory>
#include <mutex>

class DefaultOutput final : public OutputDevice {
public:
    // `source` outlives the output.
    DefaultOutput(SoundSource& source, std::function<void(std::uint64_t head)> onQueueLost)
        : m_source(source), m_onQueueLost(std::move(onQueueLost)), m_server(source)
    { }

    bool Open() override;
    void Close() override;
    bool Lost() const override { return m_open && m_open->Lost(); }
    void Run(bool running) override;
    void ReleaseThread() override;
    bool StandIn() const override { return m_open && m_open->StandIn(); }
    std::uint64_t Queued() override;
    void Refill(bool flush) override;
    void SetVolume(std::uint32_t volume) override;

    // Any thread: the output frame being heard (what was handed to the
    // device less what it still holds).
    std::uint64_t Head();

private:
    // SDL's output, real or the silent stand-in, loading its module the first
    // time; nullptr when it cannot.
    OutputDevice* Sdl(bool silent);

    SoundSource& m_source;
    const std::function<void(std::uint64_t)> m_onQueueLost;
    PulseOutput m_server;
    bool m_sdlTried = false;
    std::unique_ptr<OutputDevice> m_sdl, m_silent;
    // Changed by the keeper's thread under the lock; the engine's caller reads
    // it under the lock.
    std::mutex m_mutex;
    OutputDevice* m_open = nullptr; // the one that is open
};
