#pragma once
// The hand-off between a stream's decoder thread (the only producer) and the
// output callback (the only consumer): a fixed ring of preallocated blocks of
// decoded audio. Neither side locks, allocates or waits here.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// 16-bit stereo frames per block: 1,024 frames are 23 ms at 44,100 Hz.
inline constexpr std::uint32_t kBlockFrames = 1024;

struct AudioBlock {
    std::uint32_t serial = 0;     // the seek this audio was decoded for
    std::uint64_t startFrame = 0; // where in the stream its first frame lies
    std::uint32_t frames = 0;     // frames held, at most kBlockFrames
    std::array<std::int16_t, kBlockFrames * 2> samples{};
};

class BlockRing {
public:
    // 32 blocks are about 740 ms decoded ahead: enough to ride out a slow disk,
    // and the decoder refills by halves of it only a few times a second; a
    // seek throws away under a millisecond of decoding.
    static constexpr std::size_t kCapacity = 32;

    // Producer: the next free block to fill, or nullptr while the ring is full.
    AudioBlock* WriteSlot()
    {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        if (head - m_tail.load(std::memory_order_acquire) == kCapacity) return nullptr;
        return &m_blocks[head % kCapacity];
    }
    // Producer: hands the block from WriteSlot to the consumer.
    void Publish() { m_head.store(m_head.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

    // Consumer: the oldest published block, or nullptr while the ring is empty.
    const AudioBlock* ReadSlot() const
    {
        const std::size_t tail = m_tail.load(std::memory_order_relaxed);
        if (tail == m_head.load(std::memory_order_acquire)) return nullptr;
        return &m_blocks[tail % kCapacity];
    }
    // Consumer: gives the block from ReadSlot back to the producer.
    void Release() { m_tail.store(m_tail.load(std::memory_order_relaxed) + 1, std::memory_order_release); }
    // Consumer: how many blocks the producer could fill now.
    std::size_t Free() const
    {
        return kCapacity - (m_head.load(std::memory_order_acquire) - m_tail.load(std::memory_order_relaxed));
    }

private:
    std::array<AudioBlock, kCapacity> m_blocks;
    std::atomic<std::size_t> m_head{0}; // blocks ever published
    std::atomic<std::size_t> m_tail{0}; // blocks ever released
};
