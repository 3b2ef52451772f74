#pragma once
// What an output device plays: the engine's mix of its streams. Output
// devices in modules of their own reach the engine through this alone.

#include <cstdint>

class SoundSource {
public:
    // What the device does with the part of a request that no stream has
    // sound for yet.
    enum class Fill {
        kWhole, // silence fills it (a device that plays in real time, SDL's)
        kReady, // left out, so that a deep queue is never padded with silence
    };
    struct Mixed {
        std::uint32_t frames = 0; // written to `out`
        bool starved = false;     // a playing stream waits for its decoder: ask again soon
        bool ended = false;       // a stream's last frame went out, and nothing followed it
    };

    // The output device's own thread (or a thread holding the device's lock,
    // one at a time): writes up to `frames` frames of 44,100 Hz 16-bit stereo
    // sound. At the output volume when `atVolume`, at full volume for a device
    // that applies the volume itself. Never locks, allocates or waits.
    virtual Mixed Mix(std::int16_t* out, std::uint32_t frames, Fill fill, bool atVolume) = 0;
    // Any thread: frames of the mix handed to devices so far.
    virtual std::uint64_t Written() const = 0;
    // Any thread: the output volume, 0 (silent) to 100 (full).
    virtual std::uint32_t Volume() const = 0;

protected:
    ~SoundSource() = default;
};
