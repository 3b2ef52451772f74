#include "platform/engine/stream_mixer.h"

#include "platform/engine/stream.h"

#include <algorithm>
#include <cstring>
#include <thread>

bool StreamMixer::Attach(Stream* stream)
{
    for (std::atomic<Stream*>& slot : m_slots) {
        Stream* empty = nullptr;
        if (slot.compare_exchange_strong(empty, stream, std::memory_order_acq_rel)) return true;
    }
    return false;
}

void StreamMixer::Detach(Stream* stream)
{
    for (std::atomic<Stream*>& slot : m_slots) {
        Stream* attached = stream;
        slot.compare_exchange_strong(attached, nullptr, std::memory_order_acq_rel);
    }
    // A Mix begun before the slot emptied may still mix the stream: waited
    // out, a fraction of a millisecond.
    const std::uint64_t mixing = m_mixing.load(std::memory_order_acquire);
    if (mixing & 1)
        while (m_mixing.load(std::memory_order_acquire) == mixing) std::this_thread::yield();
}

SoundSource::Mixed StreamMixer::Mix(std::int16_t* out, std::uint32_t frames, Fill fill, bool atVolume)
{
    const std::uint64_t round = m_mixing.fetch_add(1, std::memory_order_acq_rel) + 1;
    std::memset(out, 0, std::size_t(frames) * 2 * sizeof(std::int16_t));
    const std::uint32_t volume = atVolume ? Volume() : 100;
    const std::uint64_t written = m_written.load(std::memory_order_relaxed);
    Mixed mixed;
    for (std::atomic<Stream*>& slot : m_slots) {
        Stream* stream = slot.load(std::memory_order_acquire);
        if (!stream) continue;
        Stream::Mixed own = stream->MixInto(out, frames, volume, written, round);
        std::uint32_t sounded = own.frames;
        bool starved = own.starved;
        // The successor's first frame follows the last one at once.
        Stream* next = own.ended ? stream->Successor() : nullptr;
        if (next && next->StartAfter()) {
            const Stream::Mixed after =
                next->MixInto(out + 2 * sounded, frames - sounded, volume, written + sounded, round);
            sounded += after.frames;
            starved = after.starved;
        }
        mixed.frames = std::max(mixed.frames, sounded);
        mixed.starved = mixed.starved || starved;
        mixed.ended = mixed.ended || (own.ended && sounded == own.frames);
    }
    if (fill == Fill::kWhole) mixed.frames = frames;
    m_written.store(written + mixed.frames, std::memory_order_release);
    m_mixing.fetch_add(1, std::memory_order_acq_rel);
    return mixed;
}
