#pragma once
// What every output device plays: the attached streams mixed at the output
// volume into 44,100 Hz 16-bit stereo.
//
// Threads: Attach, Detach and the volume from any thread; Mix on the output
// device's own thread. The stream list is shared under a mutex that Mix holds
// while it mixes.

#include "platform/engine/sound_source.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class Stream;

class StreamMixer final : public SoundSource {
public:
    // Mix starts (stops) seeing the stream; on return from Detach it no longer
    // touches it.
    void Attach(Stream* stream);
    void Detach(Stream* stream);

    // 0 (silent) to 100 (full).
    void SetVolume(std::uint32_t volume) { m_volume.store(volume, std::memory_order_relaxed); }
    std::uint32_t Volume() const { return m_volume.load(std::memory_order_relaxed); }

    // Output thread: the attached streams at the output volume.
    void Mix(std::int16_t* out, std::uint32_t frames) override;

private:
    std::mutex m_streamsMutex;
    std::vector<Stream*> m_streams; // guarded by m_streamsMutex
    std::atomic<std::uint32_t> m_volume{100};
};
