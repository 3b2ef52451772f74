#pragma once
// What an output device plays: the engine's mix of its streams. Output
// devices in modules of their own reach the engine through this alone.

#include <cstdint>

class SoundSource {
public:
    // The output device's own thread: writes the next `frames` frames of
    // 44,100 Hz 16-bit stereo sound, silence where nothing plays.
    virtual void Mix(std::int16_t* out, std::uint32_t frames) = 0;

protected:
    ~SoundSource() = default;
};
