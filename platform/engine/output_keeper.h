#pragma once
// Keeps the output device following the streams and the sound server: open
// and running while a stream plays, paused at once when none does and closed
// after a while so the server can suspend its sink; a lost device is closed
// and reopened, retried every half second for a few seconds and after that at
// each Retry().
//
// Threads: the keeper has a thread of its own, the only one that calls the
// device after construction. It sleeps while nothing plays and no retry is
// due; while the device runs it looks at it a few times a second. Wake and
// Retry may be called from any thread and return at once, never waiting on
// the device. `anyPlaying` is called on the keeper's thread with no lock of
// the keeper held, so it may take the caller's own lock.

#include "platform/engine/output_device.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class OutputKeeper {
public:
    using Clock = std::chrono::steady_clock;

    // The device is not opened until a stream plays; `device` outlives the keeper.
    OutputKeeper(OutputDevice& device, std::function<bool()> anyPlaying);
    // Joins the thread and closes the device.
    ~OutputKeeper();
    OutputKeeper(const OutputKeeper&) = delete;
    OutputKeeper& operator=(const OutputKeeper&) = delete;

    // Which streams play may have changed: the keeper looks again at once.
    void Wake();
    // As Wake, and a device that is not open is tried again even if no loss
    // of the last few seconds asks for it.
    void Retry();

private:
    void Loop();
    // Keeper's thread: brings the device in line with the streams; returns
    // when it next needs to look, or nothing if only a Wake can change things.
    std::optional<Clock::time_point> Step(bool retry);

    OutputDevice& m_device;
    const std::function<bool()> m_anyPlaying;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_woken = false; // guarded by m_mutex
    bool m_retry = false; // guarded by m_mutex
    bool m_quit = false;  // guarded by m_mutex

    // The keeper's thread only.
    bool m_open = false;
    bool m_running = false;
    std::optional<Clock::time_point> m_idleSince;
    std::optional<Clock::time_point> m_lostAt;
    Clock::time_point m_nextTry;

    std::thread m_thread; // last, so it starts after everything it uses
};
