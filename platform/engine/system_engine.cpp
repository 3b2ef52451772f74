#include "platform/engine/system_engine.h"

#include "platform/engine/decoder.h"
#include "platform/engine/stream.h"
#include "platform/regular_file.h"

#include <algorithm>
#include <limits>

// The spectrum is taken over the stream's whole sample history and gives the
// engine's spectrum values.
static_assert(Spectrum::kSamples == SampleHistory::kSize);
static_assert(Spectrum::kBins == static_cast<std::size_t>(kSpectrumValues));

SystemEngine::SystemEngine() = default;

SystemEngine::~SystemEngine()
{
    std::unique_ptr<OutputKeeper> keeper;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        keeper = std::move(m_keeper);
    }
    keeper.reset(); // joins its thread, which may be waiting for the lock
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& [handle, stream] : m_streams) m_mixer.Detach(stream.get());
    m_streams.clear();
}

bool SystemEngine::AudioInit()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_keeper) m_keeper = std::make_unique<OutputKeeper>(m_output, [this] { return AnyPlaying(); });
    return true;
}

HSTREAM SystemEngine::AudioStreamCreateFile(const char* path)
{
    // Anything but a regular file (a named pipe, a device) could block the open.
    if (!path || !IsRegularFile(path)) return 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_keeper || m_lastHandle == std::numeric_limits<HSTREAM>::max()) return 0;
    }
    // Opening reads the file; other calls need not wait for it.
    std::unique_ptr<Decoder> decoder = OpenDecoder(path);
    if (!decoder) return 0;
    auto stream = std::make_unique<Stream>(std::move(decoder));
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_keeper || m_lastHandle == std::numeric_limits<HSTREAM>::max()) return 0;
    const HSTREAM handle = ++m_lastHandle;
    m_mixer.Attach(stream.get());
    m_streams.emplace(handle, std::move(stream));
    m_keeper->Retry();
    return handle;
}

Stream* SystemEngine::Find(HSTREAM handle)
{
    const auto found = m_streams.find(handle);
    return found == m_streams.end() ? nullptr : found->second.get();
}

bool SystemEngine::AudioStreamFree(HSTREAM handle)
{
    std::unique_ptr<Stream> freed;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_streams.find(handle);
        if (found == m_streams.end()) return false;
        m_mixer.Detach(found->second.get());
        freed = std::move(found->second);
        m_streams.erase(found);
        m_played.erase(handle);
        m_keeper->Wake();
    }
    return true; // `freed` joins its decoder thread on the way out
}

bool SystemEngine::Steer(HSTREAM handle, void (Stream::*command)(), bool plays)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Stream* stream = Find(handle);
    if (!stream) return false;
    (stream->*command)();
    if (plays) {
        m_played.insert(handle);
        m_keeper->Retry();
    } else {
        m_played.erase(handle);
        m_keeper->Wake();
    }
    return true;
}

bool SystemEngine::AnyPlaying()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::any_of(m_played.begin(), m_played.end(), [this](HSTREAM handle) {
        const Stream* stream = Find(handle);
        return stream && stream->IsActive();
    });
}

bool SystemEngine::AudioPlay(HSTREAM handle) { return Steer(handle, &Stream::Play, true); }

bool SystemEngine::AudioPause(HSTREAM handle) { return Steer(handle, &Stream::Pause, false); }

bool SystemEngine::AudioStop(HSTREAM handle) { return Steer(handle, &Stream::Stop, false); }

std::uint32_t SystemEngine::AudioIsActive(HSTREAM handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Stream* stream = Find(handle);
    return stream && stream->IsActive() ? 1 : 0;
}

std::uint64_t SystemEngine::AudioGetLength(HSTREAM handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Stream* stream = Find(handle);
    return stream ? stream->LengthFrames() * kBytesPerFrame : 0;
}

std::uint64_t SystemEngine::AudioGetPosition(HSTREAM handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Stream* stream = Find(handle);
    if (!stream) return 0;
    // A header's length can fall a little short of the decoded audio; the
    // position never runs past the length the caller was given.
    std::uint64_t frames = stream->PositionFrames();
    if (stream->LengthFrames() > 0) frames = std::min(frames, stream->LengthFrames());
    return frames * kBytesPerFrame;
}

bool SystemEngine::AudioSetPosition(HSTREAM handle, std::uint64_t position)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Stream* stream = Find(handle);
    const std::uint64_t frame = position / kBytesPerFrame;
    if (!stream || (stream->LengthFrames() > 0 && frame > stream->LengthFrames())) return false;
    stream->SetPosition(frame);
    return true;
}

std::uint32_t SystemEngine::AudioGetData(HSTREAM handle, void* buffer, std::uint32_t request)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Stream* stream = Find(handle);
    if (!stream || !buffer || request != kAudioDataFft2048) return kAudioDataError;
    float samples[Spectrum::kSamples];
    stream->CopyHistory(samples);
    m_spectrum.Compute(samples, static_cast<float*>(buffer));
    return kSpectrumValues * sizeof(float);
}

std::uint32_t SystemEngine::AudioGetVolume()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_keeper ? m_mixer.Volume() : kAudioVolumeUnknown;
}

bool SystemEngine::AudioSetVolume(std::uint32_t volume)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_keeper || volume > 100) return false;
    m_mixer.SetVolume(volume);
    return true;
}

// Nothing is opened ahead yet: every advance creates its stream when it comes.
bool SystemEngine::AudioPrepareNext(const char*) { return false; }
