#include "platform/engine/stream.h"

#include <algorithm>

#include <pthread.h>

namespace {

// No serial: nothing was output yet.
constexpr std::uint32_t kNoSerial = 0xFFFFFFFF;

// The decoder is woken once half its ring is free, not for every block the
// output takes: it then decodes sixteen blocks (370 ms) in one go, about three
// wake-ups a second, while the other sixteen still queued cover its start.
constexpr std::size_t kRefillBlocks = BlockRing::kCapacity / 2;
// A start or a seek is heard once this much is decoded (93 ms, a millisecond
// or two of decoding) or the decoder has reached the end: a decoder still
// catching up on a busy machine then leaves no gap after the first block.
constexpr std::size_t kStartBlocks = 4;

std::int16_t Saturate(std::int32_t sample)
{
    return std::int16_t(std::clamp<std::int32_t>(sample, -32768, 32767));
}

} // namespace

Stream::Stream(std::unique_ptr<Decoder> decoder)
    : m_decoder(std::move(decoder)), m_lengthFrames(m_decoder->LengthFrames()), m_finishedSerial(kNoSerial),
      m_heardSerial(kNoSerial), m_outSerial(kNoSerial)
{
    m_thread = std::thread(&Stream::DecodeLoop, this);
    // Named so that a look at the player's threads tells it from the others.
    pthread_setname_np(m_thread.native_handle(), "lirvan-decode");
}

Stream::~Stream()
{
    m_quit.store(true, std::memory_order_release);
    Wake();
    m_thread.join();
}

bool Stream::IsActive() const
{
    const int state = m_state.load(std::memory_order_acquire);
    return state == kPlaying || state == kPaused;
}

bool Stream::Sounding(std::uint64_t head) const
{
    if (IsActive()) return true;
    return m_state.load(std::memory_order_acquire) == kEnded &&
        head < m_endOut.load(std::memory_order_acquire);
}

Stream::Heard Stream::ReadHeard() const
{
    for (;;) {
        const std::uint32_t before = m_heardSequence.load(std::memory_order_acquire);
        if (before & 1) {
            std::this_thread::yield(); // a write of a few stores is under way
            continue;
        }
        Heard heard;
        heard.serial = m_heardSerial.load(std::memory_order_relaxed);
        heard.firstFrame = m_heardFirst.load(std::memory_order_relaxed);
        heard.lastFrame = m_heardLast.load(std::memory_order_relaxed);
        heard.lastOut = m_heardOut.load(std::memory_order_relaxed);
        heard.history = m_heardHistory.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (m_heardSequence.load(std::memory_order_relaxed) == before) return heard;
    }
}

void Stream::WriteHeard(const Heard& heard)
{
    const std::uint32_t sequence = m_heardSequence.load(std::memory_order_relaxed);
    m_heardSequence.store(sequence + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    m_heardSerial.store(heard.serial, std::memory_order_relaxed);
    m_heardFirst.store(heard.firstFrame, std::memory_order_relaxed);
    m_heardLast.store(heard.lastFrame, std::memory_order_relaxed);
    m_heardOut.store(heard.lastOut, std::memory_order_relaxed);
    m_heardHistory.store(heard.history, std::memory_order_relaxed);
    m_heardSequence.store(sequence + 2, std::memory_order_release);
}

std::uint64_t Stream::PositionFrames(std::uint64_t head)
{
    const Heard heard = ReadHeard();
    if (heard.serial != m_askedSerial) return m_askedFrame;
    const std::uint64_t queued = heard.lastOut > head ? heard.lastOut - head : 0;
    const std::uint64_t frame =
        heard.lastFrame - std::min(queued, heard.lastFrame - std::min(heard.lastFrame, heard.firstFrame));
    // Timing estimates wobble; what is heard does not go back.
    m_toldFrame = std::max(m_toldFrame, frame);
    return m_toldFrame;
}

void Stream::CopyHistory(std::uint64_t head, float* out) const
{
    const Heard heard = ReadHeard();
    const std::uint64_t queued = heard.lastOut > head ? heard.lastOut - head : 0;
    m_history.CopyEndingAt(std::size_t(heard.history - std::min(queued, heard.history)), out);
}

void Stream::SetPosition(std::uint64_t frame)
{
    m_askedSerial = m_askedSerial + 1 == kNoSerial ? 0 : m_askedSerial + 1;
    m_askedFrame = m_toldFrame = frame;
    m_seekFrame.store(frame, std::memory_order_relaxed);
    m_serial.store(m_askedSerial, std::memory_order_release);
    Wake();
}

bool Stream::StartAfter()
{
    int stopped = kStopped;
    return m_state.compare_exchange_strong(stopped, kPlaying, std::memory_order_acq_rel);
}

void Stream::Wake()
{
    // A notify with nobody asleep costs no system call.
    m_wakeups.fetch_add(1, std::memory_order_release);
    m_wakeups.notify_one();
}

void Stream::DecodeLoop()
{
    std::uint32_t serial = 0;
    std::uint64_t nextFrame = 0;
    bool finished = false;
    for (;;) {
        // Taken before looking at anything, so that a wake-up posted after the
        // look ends the sleep below at once.
        const std::uint32_t seen = m_wakeups.load(std::memory_order_acquire);
        if (m_quit.load(std::memory_order_acquire)) break;
        const std::uint32_t wanted = m_serial.load(std::memory_order_acquire);
        if (wanted != serial) {
            serial = wanted;
            nextFrame = m_seekFrame.load(std::memory_order_relaxed);
            finished = !m_decoder->Seek(nextFrame);
            if (finished) m_finishedSerial.store(serial, std::memory_order_release);
            continue;
        }
        AudioBlock* block = finished ? nullptr : m_ring.WriteSlot();
        if (!block) {
            m_wakeups.wait(seen, std::memory_order_acquire);
            continue;
        }
        const std::uint32_t frames = m_decoder->Read(block->samples.data(), kBlockFrames);
        if (frames > 0) {
            block->serial = serial;
            block->startFrame = nextFrame;
            block->frames = frames;
            m_ring.Publish();
            nextFrame += frames;
        }
        if (frames < kBlockFrames) {
            // Published before this, so the callback sees every block first.
            finished = true;
            m_finishedSerial.store(serial, std::memory_order_release);
        }
    }
}

Stream::Mixed Stream::MixInto(std::int16_t* out, std::uint32_t frames, std::uint32_t volume,
                              std::uint64_t outFrame, std::uint64_t round)
{
    const std::uint32_t serial = m_serial.load(std::memory_order_acquire);
    // Read before the ring, so an empty ring then means all of it was output.
    const std::uint32_t finishedSerial = m_finishedSerial.load(std::memory_order_acquire);

    // Audio decoded for an old place goes, even while paused, and the decoder
    // is woken at once to fill the ring for the new one.
    bool dropped = false;
    const AudioBlock* block = m_ring.ReadSlot();
    while (block && block->serial != serial) {
        m_ring.Release();
        dropped = true;
        m_readOffset = 0;
        block = m_ring.ReadSlot();
    }
    Mixed mixed;
    // Nothing of this serial out yet: its start waits for the first blocks.
    const bool starting = m_outSerial != serial && BlockRing::kCapacity - m_ring.Free() < kStartBlocks &&
        finishedSerial != serial;
    if (m_state.load(std::memory_order_acquire) != kPlaying || starting || m_mixedRound == round) {
        if (dropped) Wake();
        mixed.starved = starting && m_state.load(std::memory_order_acquire) == kPlaying;
        return mixed;
    }
    m_mixedRound = round;

    Heard heard = ReadHeard();
    if (m_outSerial != serial) {
        m_outSerial = serial;
        heard.serial = serial;
        heard.firstFrame =
            block ? block->startFrame + m_readOffset : m_seekFrame.load(std::memory_order_relaxed);
        heard.lastFrame = heard.firstFrame;
        heard.lastOut = outFrame;
    }
    bool released = false;
    std::uint32_t done = 0;
    while (done < frames && block && block->serial == serial) {
        const std::uint32_t n = std::min(frames - done, block->frames - m_readOffset);
        const std::int16_t* from = block->samples.data() + 2 * m_readOffset;
        m_history.Append(from, n);
        std::int16_t* to = out + 2 * done;
        for (std::uint32_t i = 0; i < 2 * n; ++i)
            to[i] = Saturate(to[i] + std::int32_t(from[i]) * std::int32_t(volume) / 100);
        m_readOffset += n;
        done += n;
        heard.lastFrame = block->startFrame + m_readOffset;
        if (m_readOffset == block->frames) {
            m_ring.Release();
            released = true;
            m_readOffset = 0;
            block = m_ring.ReadSlot();
        }
    }
    if (done > 0) heard.lastOut = outFrame + done;
    heard.history = m_history.Written();
    WriteHeard(heard);
    mixed.frames = done;
    // Once, however many blocks went.
    if (dropped || (released && m_ring.Free() >= kRefillBlocks)) Wake();
    if (!block && finishedSerial == serial) {
        m_endOut.store(heard.lastOut, std::memory_order_release);
        int playing = kPlaying;
        mixed.ended = m_state.compare_exchange_strong(playing, kEnded, std::memory_order_acq_rel);
    } else {
        mixed.starved = done < frames;
    }
    return mixed;
}
