#include "platform/engine/output_keeper.h"

#include <atomic>
#include <cstdio>
#include <utility>

namespace {

using namespace std::chrono_literals;

// While the device runs, how soon a lost device or a stream that played to
// its end is noticed: within a second, at one wake-up a second. (A pause or a
// stop is told to the keeper at once.)
constexpr auto kWatchInterval = 1s;
// A server that restarts is usually back within a few seconds: tried every
// half second then.
constexpr auto kFastRetryInterval = 500ms;
constexpr auto kFastRetryWindow = 5s;
// After that once a second, for as long as it takes: sound within about a
// second of the server's return, for one failed connection a second.
constexpr auto kSlowRetryInterval = 1s;
// A pause of a few seconds resumes at once on the paused device; a longer
// one lets go of it so the server can suspend its sink.
constexpr auto kIdleClose = 3s;

// Whether standard error was last told that the device is missing. The device
// is the machine's, not an engine's: however many engines a process makes, it
// hears once that the device went and once that it is back.
std::atomic<bool> g_saidMissing{false};

} // namespace

OutputFollower::~OutputFollower()
{
    if (m_open) m_device.Close();
}

void OutputFollower::Missing(Clock::time_point now)
{
    if (!m_missingSince) {
        m_missingSince = now;
        if (!g_saidMissing.exchange(true))
            std::fputs("lirvan1: no sound device; playback waits for one\n", stderr);
    }
    m_nextTry = now + (now - *m_missingSince < kFastRetryWindow ? kFastRetryInterval : kSlowRetryInterval);
}

std::optional<OutputFollower::Clock::time_point> OutputFollower::Step(Clock::time_point now, bool playing,
                                                                      bool retry)
{
    if (m_open && m_device.Lost()) {
        m_device.Close();
        m_open = m_running = false;
        m_idleSince.reset();
        Missing(now);
    }
    // A silent stand-in gives way once a second, so that a real device that
    // answers again takes over.
    if (m_open && playing && m_device.StandIn() && now >= m_nextTry) {
        m_device.Close();
        m_open = m_running = false;
        retry = true;
    }
    if (!m_open && playing && (retry || !m_missingSince || now >= m_nextTry)) {
        m_open = m_device.Open();
        if (!m_open) {
            Missing(now);
        } else if (m_device.StandIn()) {
            if (!m_missingSince) m_missingSince = now;
            if (!g_saidMissing.exchange(true))
                std::fputs("lirvan1: no sound device; playing silently until one answers\n", stderr);
            m_nextTry = now + kSlowRetryInterval;
        } else if (std::exchange(m_missingSince, std::nullopt) && g_saidMissing.exchange(false)) {
            std::fputs("lirvan1: sound device back; playback goes on\n", stderr);
        }
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
    if (m_missingSince && playing) return m_nextTry;
    return std::nullopt;
}

OutputKeeper::OutputKeeper(OutputDevice& device, std::function<bool()> anyPlaying)
    : m_device(device), m_anyPlaying(std::move(anyPlaying)), m_follower(device)
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
        next = m_follower.Step(Clock::now(), m_anyPlaying(), retry);
        lock.lock();
    }
}
