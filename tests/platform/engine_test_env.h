#pragma once
// What the engine's tests share: a temporary folder, the real engine playing
// into SDL's disk driver, and waiting on a condition with a deadline.

#include "platform/audio_engine.h"

#include <functional>
#include <memory>
#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// The system engine, initialised, writing what it plays to `capture`
// (raw 16-bit stereo at 44,100 Hz, in real time).
std::unique_ptr<AudioEngine> StartDiskEngine(const std::string& capture);
// Polls `done` every few milliseconds; false when `seconds` passed first.
bool WaitUntil(const std::function<bool()>& done, double seconds);
void Sleep(double seconds);
