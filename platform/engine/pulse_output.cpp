#include "platform/engine/pulse_output.h"

#include "platform/audio_engine.h"
#include "platform/engine/failure_note.h"

#include <pulse/rtclock.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

// What the server holds queued (0.66 s), and how much must have played before
// it asks for more (0.32 s), so that the client's thread wakes about three
// times a second for sound and about once more for the server's timing: four
// wake-ups a second at most. What is left beyond twice the request is
// what the server keeps at its sink (it asks the sink for half of those 20 ms
// of latency), so that a cork, a flush or a volume change is heard within it.
constexpr pa_usec_t kQueuedUsec = 660'000;
constexpr pa_usec_t kRequestUsec = 320'000;
// After a start, a flush or an underrun the server plays once this much is
// there (about what a stream has decoded when it starts), not only once the
// queue is full again; a sound shorter than that is started by hand.
constexpr pa_usec_t kPrebufferUsec = 90'000;
// While a playing stream waits for its decoder (its start, a seek), the
// server is given its sound this soon after it is decoded.
constexpr pa_usec_t kRetryUsec = 10'000;
// Silence written after the last stream's end, so that its last frames pass
// whatever the server holds back (PipeWire keeps a remainder shorter than its
// processing quantum unplayed, and a start threshold keeps a short one): its
// end is then heard and told. More than a quantum, about the start threshold.
constexpr std::uint32_t kEndSilenceFrames = std::uint32_t(kPrebufferUsec * kOutputRate / 1'000'000);

constexpr pa_sample_spec kSpec{PA_SAMPLE_S16NE, kOutputRate, std::uint8_t(kOutputChannels)};

// The name, icon and role that the sound settings show for the player.
constexpr char kClientName[] = "Лирван";
constexpr char kIconName[] = "lirvan1";

// The client's lock held: waits until what `state` reads is `ready` (true)
// or has failed, as `good` tells (false).
template <typename State, typename Read>
bool WaitUntilReady(pa_threaded_mainloop* loop, Read state, State ready, int (*good)(State))
{
    for (;;) {
        const State now = state();
        if (now == ready) return true;
        if (!good(now)) return false;
        pa_threaded_mainloop_wait(loop);
    }
}

// Why the server could not be used, said once while it stays so.
FailureNote g_serverNote;

pa_cvolume VolumeOf(std::uint32_t volume)
{
    pa_cvolume channels;
    // The mix scaled samples linearly; the server is asked for the same.
    pa_cvolume_set(&channels, kOutputChannels, pa_sw_volume_from_linear(double(volume) / 100.0));
    return channels;
}

} // namespace

PulseOutput::~PulseOutput() { Close(); }

void PulseOutput::OnContextState(pa_context* context, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context)))
        output.m_lost.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(output.m_loop, 0);
}

void PulseOutput::OnStreamState(pa_stream* stream, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) output.m_lost.store(true, std::memory_order_release);
    pa_threaded_mainloop_signal(output.m_loop, 0);
}

void PulseOutput::OnWritable(pa_stream*, std::size_t, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    // Asked while paused (the first request comes before the stream runs):
    // answered when it runs, so that nothing is taken from the streams early.
    if (output.m_running) output.Fill();
}

void PulseOutput::OnRetry(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    if (output.m_running) output.Fill();
}

bool PulseOutput::Open()
{
    if (m_stream) return true;
    m_lost.store(false, std::memory_order_relaxed);
    m_running = false;
    m_queued = 0;
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop) return false;
    // Named so that a look at the player's threads tells it from the others.
    pa_threaded_mainloop_set_name(m_loop, "lirvan-output");
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, kClientName);
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, kIconName);
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "music");
    m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), kClientName, properties);
    pa_proplist_free(properties);
    bool opened = m_context != nullptr;
    if (opened) {
        pa_context_set_state_callback(m_context, &PulseOutput::OnContextState, this);
        opened = pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) == 0 &&
            pa_threaded_mainloop_start(m_loop) == 0;
    }
    std::string why = "the sound server cannot be reached";
    if (opened) {
        pa_threaded_mainloop_lock(m_loop);
        const auto context = [this] { return pa_context_get_state(m_context); };
        const auto stream = [this] { return pa_stream_get_state(m_stream); };
        opened = WaitUntilReady(m_loop, context, PA_CONTEXT_READY, PA_CONTEXT_IS_GOOD);
        if (opened) {
            why = "the sound server refused a playback stream";
            opened = ConnectStream() && WaitUntilReady(m_loop, stream, PA_STREAM_READY, PA_STREAM_IS_GOOD);
        }
        pa_threaded_mainloop_unlock(m_loop);
    }
    if (!opened && m_context) why += std::string(": ") + pa_strerror(pa_context_errno(m_context));
    if (!opened) {
        Close();
        g_serverNote.Say(why);
    } else {
        g_serverNote.Clear();
    }
    return opened;
}

bool PulseOutput::ConnectStream()
{
    m_stream = pa_stream_new(m_context, kClientName, &kSpec, nullptr);
    if (!m_stream) return false;
    pa_stream_set_state_callback(m_stream, &PulseOutput::OnStreamState, this);
    pa_stream_set_write_callback(m_stream, &PulseOutput::OnWritable, this);
    pa_buffer_attr attributes{};
    attributes.maxlength = std::uint32_t(-1);
    attributes.tlength = std::uint32_t(pa_usec_to_bytes(kQueuedUsec, &kSpec));
    attributes.prebuf = std::uint32_t(pa_usec_to_bytes(kPrebufferUsec, &kSpec));
    attributes.minreq = std::uint32_t(pa_usec_to_bytes(kRequestUsec, &kSpec));
    attributes.fragsize = std::uint32_t(-1);
    // Corked until the first run, so that the server plays nothing before it;
    // the sink asked for the latency the queue leaves it; timed by the server
    // as it plays, for the play head.
    const auto flags =
        pa_stream_flags_t(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY | PA_STREAM_AUTO_TIMING_UPDATE);
    const pa_cvolume volume = VolumeOf(m_source.Volume());
    return pa_stream_connect_playback(m_stream, nullptr, &attributes, flags, &volume, nullptr) == 0;
}

void PulseOutput::Close()
{
    // Stopped first, so that no callback runs while the rest is let go.
    if (m_loop) pa_threaded_mainloop_stop(m_loop);
    if (m_retry) {
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_loop);
        api->time_free(m_retry);
        m_retry = nullptr;
    }
    if (m_stream) {
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    if (m_context) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    if (m_loop) {
        pa_threaded_mainloop_free(m_loop);
        m_loop = nullptr;
    }
    m_queued = 0;
}

void PulseOutput::Run(bool running)
{
    if (!m_stream) return;
    pa_threaded_mainloop_lock(m_loop);
    m_running = running;
    // Corked, the server plays nothing more and keeps what is queued.
    if (pa_operation* cork = pa_stream_cork(m_stream, running ? 0 : 1, nullptr, nullptr))
        pa_operation_unref(cork);
    // What the server asked for while paused is answered now.
    if (running) Fill();
    pa_threaded_mainloop_unlock(m_loop);
}

std::uint64_t PulseOutput::Queued()
{
    if (!m_stream) return 0;
    pa_threaded_mainloop_lock(m_loop);
    // Told from the server's last timing update, which the client library
    // keeps up to date with what is written since: what its queue and its sink
    // hold then, less what has played since if it was playing, or if its
    // queue had run dry and only the sink still held some. (The library's own
    // interpolation runs on while the server has not begun.)
    const pa_timing_info* timing = pa_stream_get_timing_info(m_stream);
    if (timing && !timing->write_index_corrupt && !timing->read_index_corrupt) {
        const std::int64_t bytes = std::max<std::int64_t>(timing->write_index - timing->read_index, 0);
        std::int64_t usec = std::int64_t(pa_bytes_to_usec(std::uint64_t(bytes), &kSpec)) + timing->sink_usec;
        if (timing->playing || bytes == 0) usec -= std::int64_t(pa_timeval_age(&timing->timestamp));
        m_queued = std::uint64_t(std::max<std::int64_t>(usec, 0)) * kOutputRate / 1'000'000;
    }
    const std::uint64_t queued = m_queued;
    pa_threaded_mainloop_unlock(m_loop);
    return queued;
}

void PulseOutput::Refill(bool flush)
{
    if (!m_stream) return;
    pa_threaded_mainloop_lock(m_loop);
    if (flush) {
        if (pa_operation* dropped = pa_stream_flush(m_stream, nullptr, nullptr)) pa_operation_unref(dropped);
    }
    if (m_running) Fill();
    pa_threaded_mainloop_unlock(m_loop);
}

void PulseOutput::SetVolume(std::uint32_t volume)
{
    if (!m_stream) return;
    pa_threaded_mainloop_lock(m_loop);
    const pa_cvolume channels = VolumeOf(volume);
    if (pa_stream_get_state(m_stream) == PA_STREAM_READY) {
        if (pa_operation* set = pa_context_set_sink_input_volume(m_context, pa_stream_get_index(m_stream),
                                                                 &channels, nullptr, nullptr))
            pa_operation_unref(set);
    }
    pa_threaded_mainloop_unlock(m_loop);
}

void PulseOutput::Fill()
{
    std::size_t wanted = pa_stream_writable_size(m_stream);
    if (wanted == std::size_t(-1)) return;
    bool starved = false;
    while (wanted >= kBytesPerFrame) {
        void* data = nullptr;
        std::size_t size = wanted;
        if (pa_stream_begin_write(m_stream, &data, &size) < 0 || !data) return;
        size -= size % kBytesPerFrame;
        const SoundSource::Mixed mixed = size == 0
            ? SoundSource::Mixed{}
            : m_source.Mix(static_cast<std::int16_t*>(data), std::uint32_t(size / kBytesPerFrame),
                           SoundSource::Fill::kReady, false);
        starved = mixed.starved;
        std::size_t bytes = std::size_t(mixed.frames) * kBytesPerFrame;
        if (mixed.ended && !starved && bytes < size) {
            // A stream ended and nothing follows it: silence does, and counts
            // as mixed, so that the play head reaches the end.
            const auto rest = std::uint32_t((size - bytes) / kBytesPerFrame);
            const SoundSource::Mixed silence =
                m_source.Mix(static_cast<std::int16_t*>(data) + bytes / sizeof(std::int16_t),
                             std::min(rest, kEndSilenceFrames), SoundSource::Fill::kWhole, false);
            bytes += std::size_t(silence.frames) * kBytesPerFrame;
        }
        if (bytes == 0) {
            pa_stream_cancel_write(m_stream);
            break;
        }
        if (pa_stream_write(m_stream, data, bytes, nullptr, 0, PA_SEEK_RELATIVE) < 0) return;
        wanted -= bytes;
        if (bytes < size) break;
    }
    if (!starved) {
        // Nothing more is coming for now (a stream ended): what is queued
        // plays even if it is less than the server waits for.
        if (wanted > 0)
            if (pa_operation* start = pa_stream_trigger(m_stream, nullptr, nullptr))
                pa_operation_unref(start);
        return;
    }
    const pa_usec_t when = pa_rtclock_now() + kRetryUsec;
    if (m_retry)
        pa_context_rttime_restart(m_context, m_retry, when);
    else
        m_retry = pa_context_rttime_new(m_context, when, &PulseOutput::OnRetry, this);
}
