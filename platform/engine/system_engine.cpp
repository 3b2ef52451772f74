#include "platform/engine/system_engine.h"

#include "platform/engine/decoder.h"
#include "platform/engine/stream.h"
#include "platform/regular_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

// The spectrum is taken over the stream's sample history and gives the
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
    Forget(m_prepared);
    Forget(m_successor);
}

bool SystemEngine::AudioInit()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_keeper) m_keeper = std::make_unique<OutputKeeper>(m_output, [this] { return AnyPlaying(); });
    return true;
}

std::unique_ptr<Stream> SystemEngine::Open(const char* path)
{
    // Anything but a regular file (a named pipe, a device) could block the open.
    if (!IsRegularFile(path)) {
        struct stat status { };
        const bool there = ::stat(path, &status) == 0;
        m_openNote.Say(std::string("cannot play \"") + path +
                       "\": " + (there ? "not a regular file" : std::strerror(errno)));
        return nullptr;
    }
    // A decoder that refuses the file, or a module that did not load, says why itself.
    std::unique_ptr<Decoder> decoder = OpenDecoder(path);
    return decoder ? std::make_unique<Stream>(std::move(decoder)) : nullptr;
}

HSTREAM SystemEngine::AudioStreamCreateFile(const char* path)
{
    if (!path) return 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_keeper || m_lastHandle == std::numeric_limits<HSTREAM>::max()) return 0;
        Settle();
        // The stream opened ahead for this path, sounding already or not.
        for (Ahead* ahead : {&m_successor, &m_prepared}) {
            if (!ahead->stream || ahead->path != path) continue;
            const HSTREAM handle = ++m_lastHandle;
            const bool sounding = ahead->stream->IsActive();
            m_streams.emplace(handle, std::move(ahead->stream));
            ahead->path.clear();
            if (sounding) {
                m_played.insert(handle);
                m_current = handle;
            }
            // One sounding already may have the next one prepared after it.
            if (ahead == &m_prepared) Forget(m_successor);
            Relink();
            return handle;
        }
        // Sounding after the last track, but not the one loaded: it goes. One
        // prepared and not started yet stays for the next advance.
        Forget(m_successor);
    }
    // Opening reads the file; other calls need not wait for it.
    std::unique_ptr<Stream> stream = Open(path);
    if (!stream) return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_keeper || m_lastHandle == std::numeric_limits<HSTREAM>::max()) return 0;
    if (!m_mixer.Attach(stream.get())) return 0;
    const HSTREAM handle = ++m_lastHandle;
    m_streams.emplace(handle, std::move(stream));
    m_keeper->Retry();
    return handle;
}

bool SystemEngine::AudioPrepareNext(const char* path)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_keeper) return false;
        Settle();
        if (path && *path && m_prepared.stream && m_prepared.path == path) return true;
        Forget(m_prepared);
        if (!path || !*path) return false;
    }
    std::unique_ptr<Stream> stream = Open(path);
    if (!stream) return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_keeper) return false;
    Settle();
    Forget(m_prepared); // another call's, prepared meanwhile
    if (!m_mixer.Attach(stream.get())) return false;
    m_prepared = Ahead{path, std::move(stream)};
    Relink();
    return true;
}

void SystemEngine::Settle()
{
    if (!m_prepared.stream || !m_prepared.stream->IsActive()) return;
    Forget(m_successor); // one that ended before its handle was asked for
    m_successor = std::move(m_prepared);
    m_prepared = Ahead{};
    Relink();
}

void SystemEngine::Relink()
{
    for (auto& [handle, stream] : m_streams) stream->SetSuccessor(nullptr);
    if (m_successor.stream) m_successor.stream->SetSuccessor(nullptr);
    Stream* followed = m_successor.stream ? m_successor.stream.get() : Find(m_current);
    if (followed) followed->SetSuccessor(m_prepared.stream.get());
}

void SystemEngine::Forget(Ahead& ahead)
{
    if (!ahead.stream) return;
    std::unique_ptr<Stream> stream = std::move(ahead.stream);
    ahead = Ahead{};
    Relink(); // nothing follows on to it any more
    m_mixer.Detach(stream.get());
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
        freed = std::move(found->second);
        m_streams.erase(found);
        m_played.erase(handle);
        if (m_current == handle) m_current = 0;
        Relink();
        m_mixer.Detach(freed.get());
        m_keeper->Wake();
    }
    return true; // `freed` joins its decoder thread on the way out
}

bool SystemEngine::Steer(HSTREAM handle, void (Stream::*command)(), bool plays)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Settle();
    Stream* stream = Find(handle);
    if (!stream) return false;
    const bool active = stream->IsActive();
    const bool sounding = stream->Sounding(m_output.Head());
    (stream->*command)();
    if (plays) {
        m_played.insert(handle);
        m_current = handle;
        Relink();
        // A stream that starts anew is heard at once, not after what is queued.
        m_output.Refill(!active);
        m_keeper->Retry();
    } else {
        m_played.erase(handle);
        // A stop leaves nothing of the stream to be heard; a pause is the
        // keeper's, which corks the output and keeps what is queued.
        if (command == &Stream::Stop && sounding) m_output.Refill(true);
        m_keeper->Wake();
    }
    return true;
}

bool SystemEngine::AnyPlaying()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Settle();
    const std::uint64_t head = m_output.Head();
    if (m_successor.stream && m_successor.stream->Sounding(head)) return true;
    return std::any_of(m_played.begin(), m_played.end(), [&](HSTREAM handle) {
        const Stream* stream = Find(handle);
        return stream && stream->Sounding(head);
    });
}

void SystemEngine::QueueLost(std::uint64_t head)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& [handle, stream] : m_streams)
        if (stream->IsActive()) stream->SetPosition(stream->PositionFrames(head));
    if (m_successor.stream) m_successor.stream->SetPosition(m_successor.stream->PositionFrames(head));
    m_mixer.Rewind(head);
}

bool SystemEngine::AudioPlay(HSTREAM handle) { return Steer(handle, &Stream::Play, true); }

bool SystemEngine::AudioPause(HSTREAM handle) { return Steer(handle, &Stream::Pause, false); }

bool SystemEngine::AudioStop(HSTREAM handle) { return Steer(handle, &Stream::Stop, false); }

std::uint32_t SystemEngine::AudioIsActive(HSTREAM handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Stream* stream = Find(handle);
    return stream && stream->Sounding(m_output.Head()) ? 1 : 0;
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
    std::uint64_t frames = stream->PositionFrames(m_output.Head());
    if (stream->LengthFrames() > 0) frames = std::min(frames, stream->LengthFrames());
    return frames * kBytesPerFrame;
}

bool SystemEngine::AudioSetPosition(HSTREAM handle, std::uint64_t position)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Stream* stream = Find(handle);
    const std::uint64_t frame = position / kBytesPerFrame;
    if (!stream || (stream->LengthFrames() > 0 && frame > stream->LengthFrames())) return false;
    const bool sounding = stream->Sounding(m_output.Head());
    stream->SetPosition(frame);
    // Nothing of the old place is heard after the seek.
    if (sounding) m_output.Refill(true);
    return true;
}

std::uint32_t SystemEngine::AudioGetData(HSTREAM handle, void* buffer, std::uint32_t request)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Stream* stream = Find(handle);
    if (!stream || !buffer || request != kAudioDataFft2048) return kAudioDataError;
    float samples[Spectrum::kSamples];
    stream->CopyHistory(m_output.Head(), samples);
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
    m_output.SetVolume(volume);
    return true;
}
