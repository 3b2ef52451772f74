#pragma once
// What the output keeper needs of a sound device, so that its rules (reopen
// after a loss, pause when nothing plays) can be driven by a fake in tests,
// and what the engine asks of the open device.
//
// Threads: Open, Close, Lost, Run, StandIn and ReleaseThread are called by one
// thread at a time, the keeper's. Queued, Refill and SetVolume come from the
// engine's caller, also while the keeper's calls run, but never during Open
// or Close (DefaultOutput sees to that).

#include <cstdint>

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
    // Starts (true) or pauses (false) the open device's callback; paused, what
    // it holds queued is kept for the next start.
    virtual void Run(bool running) = 0;
    // The keeper's thread is ending: what the device's library keeps for that
    // thread (its error text, say) goes with it.
    virtual void ReleaseThread() = 0;
    // The open device is a silent stand-in for a real one that did not open:
    // the keeper closes it and opens again once a second, so that a real one
    // takes over as soon as one answers.
    virtual bool StandIn() const { return false; }

    // Frames of the mix handed to the device and not yet heard (what its
    // queue and its sink still hold); 0 when closed.
    virtual std::uint64_t Queued() { return 0; }
    // Something new is to be heard: with `flush`, what is queued is dropped
    // (a stop, a seek, a new track); then the device takes what the mix has.
    virtual void Refill(bool) { }
    // The output volume (0..100), for a device that applies it itself.
    virtual void SetVolume(std::uint32_t) { }
};
