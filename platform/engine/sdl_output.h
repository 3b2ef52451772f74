#pragma once
// The output device through SDL2 audio at 44,100 Hz 16-bit stereo, wherever
// the sound server is not reached directly (see DefaultOutput), in a module of
// its own (see sdl_output_module.h): its callback plays the engine's mix. Made
// silent, it is SDL's "dummy" driver instead, which keeps real time: the
// stand-in while no sound system answers (see DefaultOutput). A real device
// that does not open says why on standard error, once while it stays so.
//
// Threads: Open, Close, Lost and Run are called by one thread at a time (the
// output keeper's); the callback runs on SDL's audio thread.

#include "platform/engine/output_device.h"
#include "platform/engine/sound_source.h"

#include <SDL.h>

#include <atomic>

class SdlOutput final : public OutputDevice {
public:
    // `source` outlives the output; `silent`: the dummy driver, not a real one.
    SdlOutput(SoundSource& source, bool silent) : m_source(source), m_silent(silent) { }
    // Closes the device; the callback has returned for good afterwards.
    ~SdlOutput() override;
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    // Starts SDL's audio afresh (so a restarted sound server is found) and
    // opens the default output, paused; true once open.
    bool Open() override;
    // Closes the device and SDL's audio with it, so no thread of SDL's is left.
    void Close() override;
    bool Lost() const override;
    void Run(bool running) override;
    // SDL keeps per-thread data for every thread that calls it, freed by SDL's
    // own threads only as they end.
    void ReleaseThread() override { SDL_TLSCleanup(); }
    bool StandIn() const override { return m_silent; }
    // SDL tells no latency: one callback's buffer is taken for it.
    std::uint64_t Queued() override { return m_device ? m_bufferFrames.load(std::memory_order_relaxed) : 0; }

private:
    static void SDLCALL Callback(void* self, Uint8* buffer, int bytes);
    // Opens the device on the driver in use; 0 when it cannot.
    SDL_AudioDeviceID OpenDevice();

    SoundSource& m_source;
    const bool m_silent;
    std::atomic<std::uint32_t> m_bufferFrames{0}; // a callback's frames
    // Written only while no callback of it runs: before it is started and
    // after it is closed.
    std::atomic<SDL_AudioDeviceID> m_device{0};
    bool m_subsystem = false; // SDL's audio subsystem initialised the ordinary way
    bool m_driver = false;    // the dummy driver started by hand
};
