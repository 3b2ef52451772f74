#include "platform/engine/output_keeper.h"

#include <utility>

namespace {

using namespace std::chrono_literals;

// While the device runs, how soon a lost device or a stream that played to
// its end is noticed: well within a second, at a few wake-ups a second.
constexpr auto kWatchInterval = 200ms;
// A server that restarts is usually back within a few seconds; after that a
// try waits for the next Retry rather than waking the machine for nothing.
constexpr auto kRetryInterval = 500ms;
constexpr auto kRetryWindow = 5s;
// A pause of a few seconds resumes at once on the paused device; a longer
// one lets go of it so the server can suspend its sink.
constexpr auto kIdleClose = 3s;

} // namespace

OutputKeeper::OutputKeeper(OutputDevice& device, std::function<bool()> anyPlaying)
    : m_device(device), m_anyPlaying(std::move(anyPlaying))
{
    m_thread = std::thread(&OutputKeeper::Loop, this);
}

OutputKeeper::~OutputKeeper()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_thread.join();
    if (m_open) m_device.Close();
}

void OutputKeeper::Wake()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_woken = true;
    }
    m_wake.notify_one();
}

void OutputKeeper::Retry()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_woken = true;
        m_retry = true;
    }
    m_wake.notify_one();
}

void OutputKeeper::Loop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    std::optional<Clock::time_point> next;
    for (;;) {
        const auto due = [this] { return m_quit || m_woken; };
        if (next)
            m_wake.wait_until(lock, *next, due);
        else
            m_wake.wait(lock, due);
        if (m_quit) {
            m_device.ReleaseThread();
            return;
        }
        const bool retry = std::exchange(m_retry, false);
        m_woken = false;
        lock.unlock();
        next = Step(retry);
        lock.lock();
    }
}

std::optional<OutputKeeper::Clock::time_point> OutputKeeper::Step(bool retry)
{
    const Clock::time_point now = Clock::now();
    const bool playing = m_anyPlaying();
    if (m_open && m_device.Lost()) {
        m_device.Close();
        m_open = m_running = false;
        m_idleSince.reset();
        m_lostAt = now;
        m_nextTry = now + kRetryInterval;
    }
    if (m_lostAt && now - *m_lostAt > kRetryWindow) m_lostAt.reset();
    if (!m_open && playing && (retry || (m_lostAt && now >= m_nextTry))) {
        m_open = m_device.Open();
        if (m_open)
            m_lostAt.reset();
        else
            m_nextTry = now + kRetryInterval;
    }
    if (m_open) {
        if (playing != m_running) {
            m_device.Run(playing);
            m_running = playing;
        }
        if (playing) {
            m_idleSince.reset();
            return now + kWatchInterval;
        }
        if (!m_idleSince) m_idleSince = now;
        if (now - *m_idleSince < kIdleClose) return *m_idleSince + kIdleClose;
        m_device.Close();
        m_open = false;
        m_idleSince.reset();
    }
    if (m_lostAt && playing) return m_nextTry;
    return std::nullopt;
}
