#include "platform/engine/pulse_output.h"

#include "platform/audio_engine.h"

#include <cstdint>

namespace {

// What the server holds queued: a seek or a new track is heard within this.
constexpr pa_usec_t kQueuedUsec = 100'000;
// The server asks again once this much has played: two requests a queue, so
// that the thread wakes rarely and the queue never runs dry.
constexpr pa_usec_t kRequestUsec = kQueuedUsec / 2;

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

void PulseOutput::OnWritable(pa_stream*, std::size_t bytes, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    // Asked while paused (the first request comes before the stream runs):
    // answered when it runs, so that nothing is taken from the streams early.
    if (output.m_running) output.Fill(bytes);
}

bool PulseOutput::Open()
{
    if (m_stream) return true;
    m_lost.store(false, std::memory_order_relaxed);
    m_running = false;
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
    if (opened) {
        pa_threaded_mainloop_lock(m_loop);
        const auto context = [this] { return pa_context_get_state(m_context); };
        const auto stream = [this] { return pa_stream_get_state(m_stream); };
        opened = WaitUntilReady(m_loop, context, PA_CONTEXT_READY, PA_CONTEXT_IS_GOOD) && ConnectStream() &&
            WaitUntilReady(m_loop, stream, PA_STREAM_READY, PA_STREAM_IS_GOOD);
        pa_threaded_mainloop_unlock(m_loop);
    }
    if (!opened) Close();
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
    attributes.prebuf = std::uint32_t(-1);
    attributes.minreq = std::uint32_t(pa_usec_to_bytes(kRequestUsec, &kSpec));
    attributes.fragsize = std::uint32_t(-1);
    const auto flags = pa_stream_flags_t(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
    return pa_stream_connect_playback(m_stream, nullptr, &attributes, flags, nullptr, nullptr) == 0;
}

void PulseOutput::Close()
{
    // Stopped first, so that no callback runs while the rest is let go.
    if (m_loop) pa_threaded_mainloop_stop(m_loop);
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
}

void PulseOutput::Run(bool running)
{
    if (!m_stream) return;
    pa_threaded_mainloop_lock(m_loop);
    m_running = running;
    // Paused, the stream is no longer fed but not corked: what is queued plays
    // out, as the streams already count it as played, and nothing stale is
    // left to be heard at the next play. Then the server asks for no more.
    if (running) {
        // Opened corked, so that the server plays nothing before the first run.
        if (pa_operation* uncork = pa_stream_cork(m_stream, 0, nullptr, nullptr)) pa_operation_unref(uncork);
        // What the server asked for while paused is answered now.
        const std::size_t wanted = pa_stream_writable_size(m_stream);
        if (wanted != std::size_t(-1)) Fill(wanted);
    }
    pa_threaded_mainloop_unlock(m_loop);
}

void PulseOutput::Fill(std::size_t bytes)
{
    while (bytes >= kBytesPerFrame) {
        void* data = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(m_stream, &data, &size) < 0 || !data) return;
        size -= size % kBytesPerFrame;
        if (size == 0) {
            pa_stream_cancel_write(m_stream);
            return;
        }
        m_source.Mix(static_cast<std::int16_t*>(data), std::uint32_t(size / kBytesPerFrame));
        if (pa_stream_write(m_stream, data, size, nullptr, 0, PA_SEEK_RELATIVE) < 0) return;
        bytes -= size;
    }
}
