#pragma once
// What the output keeper needs of a sound device, so that its rules (reopen
// after a loss, pause when nothing plays) can be driven by a fake in tests.
//
// Threads: every member is called by one thread at a time, the keeper's.

class OutputDevice {
public:
    virtual ~OutputDevice() = default;

    // Opens the default output, paused; true once open. A failure leaves
    // nothing open and may be retried.
    virtual bool Open() = 0;
    // Closes what Open opened; nothing if it is closed.
    virtual void Close() = 0;
    // The open device has gone (its server or hardware went away) and must be
    // closed and opened again to be heard.
    virtual bool Lost() const = 0;
    // Starts (true) or pauses (false) the open device's callback.
    virtual void Run(bool running) = 0;
    // The keeper's thread is ending: what the device's library keeps for that
    // thread (its error text, say) goes with it.
    virtual void ReleaseThread() = 0;
};
