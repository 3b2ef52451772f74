#pragma once
// Keeps the output device following the streams and the sound server: open
// and running while a stream plays, paused at once when none does and closed
// after a while so the server can suspend its sink. A device that is lost, or
// that would not open, is tried again for as long as a stream wants to play:
// every half second for the first seconds, then once a second. Nothing is
// tried while no stream plays. A device that is only a silent stand-in is
// closed and opened again once a second while it plays, so that a real one
// takes over. Standard error gets one line when the device goes (or a
// stand-in plays silently) and one when it is back.
//
// OutputFollower holds these rules and is driven with the time given to it,
// so that they can be run against a fake device and a fake clock; OutputKeeper
// runs it on a thread of its own against the real clock.

#include "platform/engine/output_device.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// Threads: one at a time, the only one that calls the device while it lives.
class OutputFollower {
public:
    using Clock = std::chrono::steady_clock;

    // The device is not opened until a stream plays; `device` outlives the follower.
    explicit OutputFollower(OutputDevice& device) : m_device(device) { }
    // Closes the device if it is open.
    ~OutputFollower();
    OutputFollower(const OutputFollower&) = delete;
    OutputFollower& operator=(const OutputFollower&) = delete;

    // Brings the device in line at `now` with whether a stream plays; `retry`
    // (a new play) tries a device that is not open at once, even before the
    // next try is due. Returns when it next needs to look, or nothing if only
    // a change of the streams can change things. `now` never goes back.
    std::optional<Clock::time_point> Step(Clock::time_point now, bool playing, bool retry);

private:
    // The device went or would not open at `now`: says so unless it was
    // already missing, and sets the next try.
    void Missing(Clock::time_point now);

    OutputDevice& m_device;
    bool m_open = false;
    bool m_running = false;
    std::optional<Clock::time_point> m_idleSince;
    // Since when the device has been missing; reset once it opens.
    std::optional<Clock::time_point> m_missingSince;
    Clock::time_point m_nextTry;
};

// Threads: the keeper has a thread of its own, the only one that calls the
// device after construction. It sleeps while nothing plays and no try is
// due; while the device runs it looks at it once a second. Wake and
// Retry may be called from any thread and return at once, never waiting on
// the device. `anyPlaying` is called on the keeper's thread with no lock of
// the keeper held, so it may take the caller's own lock.
class OutputKeeper {
public:
    using Clock = OutputFollower::Clock;

    // The device is not opened until a stream plays; `device` outlives the keeper.
    OutputKeeper(OutputDevice& device, std::function<bool()> anyPlaying);
    // Joins the thread and closes the device.
    ~OutputKeeper();
    OutputKeeper(const OutputKeeper&) = delete;
    OutputKeeper& operator=(const OutputKeeper&) = delete;

    // Which streams play may have changed: the keeper looks again at once.
    void Wake();
    // As Wake, and a device that is not open is tried at once (a new play).
    void Retry();

private:
    void Loop();

    OutputDevice& m_device;
    const std::function<bool()> m_anyPlaying;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_woken = false; // guarded by m_mutex
    bool m_retry = false; // guarded by m_mutex
    bool m_quit = false;  // guarded by m_mutex

    OutputFollower m_follower; // the keeper's thread's while it runs
    std::thread m_thread;      // last, so it starts after everything it uses
};
