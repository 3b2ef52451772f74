#pragma once
// The one output device, through SDL2 audio at 44,100 Hz 16-bit stereo: its
// callback mixes every attached stream at the output volume. With no usable
// sound device it falls back to SDL's silent "dummy" driver, which keeps real
// time, and says so once on standard error.

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <vector>

class Stream;

class SdlOutput {
public:
    SdlOutput() = default;
    // Closes the device; the callback has returned for good afterwards.
    ~SdlOutput();
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    // Opens the device and starts it running; true once it is open. A
    // repeated call changes nothing.
    bool Open();
    bool IsOpen() const { return m_device != 0; }

    // The callback starts (stops) seeing the stream; on return from Detach it
    // no longer touches it.
    void Attach(Stream* stream);
    void Detach(Stream* stream);

    // 0 (silent) to 100 (full).
    void SetVolume(std::uint32_t volume) { m_volume.store(volume, std::memory_order_relaxed); }
    std::uint32_t Volume() const { return m_volume.load(std::memory_order_relaxed); }

private:
    static void SDLCALL Callback(void* self, Uint8* buffer, int bytes);
    // Opens the device on the driver in use; 0 when it cannot.
    SDL_AudioDeviceID OpenDevice();

    SDL_AudioDeviceID m_device = 0;
    bool m_subsystem = false; // SDL's audio subsystem initialised the ordinary way
    bool m_driver = false;    // the dummy driver started by hand
    // Read by the callback; changed only while the device is locked, which
    // SDL also holds around every callback.
    std::vector<Stream*> m_streams;
    std::atomic<std::uint32_t> m_volume{100};
};
