#pragma once
// What every output device plays: the attached streams mixed at the output
// volume into 44,100 Hz 16-bit stereo, each stream's successor starting in the
// same call right after its last frame.
//
// Threads: Attach, Detach and the volume from any thread; Mix on the output
// device's own thread, one call at a time. Mix never locks: the streams sit
// in a fixed table of atomic slots, and Detach, having emptied a slot, waits
// out a Mix that may still hold the stream.

#include "platform/engine/sound_source.h"

#include <array>
#include <atomic>
#include <cstdint>

class Stream;

class StreamMixer final : public SoundSource {
public:
    // As many streams as can be attached at once: far more than a player
    // plays together (one, and the next one prepared).
    static constexpr std::size_t kSlots = 64;

    // Mix starts seeing the stream; false when every slot is taken.
    bool Attach(Stream* stream);
    // Mix stops seeing the stream: on return it no longer touches it.
    void Detach(Stream* stream);

    // 0 (silent) to 100 (full).
    void SetVolume(std::uint32_t volume) { m_volume.store(volume, std::memory_order_relaxed); }
    std::uint32_t Volume() const override { return m_volume.load(std::memory_order_relaxed); }

    Mixed Mix(std::int16_t* out, std::uint32_t frames, Fill fill, bool atVolume) override;
    std::uint64_t Written() const override { return m_written.load(std::memory_order_acquire); }
    // Keeper's thread, while no device is open: what went to a device that
    // was closed before it played it is forgotten, so that the output frames
    // count on from `written` (the play head then).
    void Rewind(std::uint64_t written) { m_written.store(written, std::memory_order_release); }

private:
    std::array<std::atomic<Stream*>, kSlots> m_slots{};
    // Mix calls begun and ended: odd while one runs.
    std::atomic<std::uint64_t> m_mixing{0};
    std::atomic<std::uint64_t> m_written{0};
    std::atomic<std::uint32_t> m_volume{100};
};
