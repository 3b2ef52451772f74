#pragma once
// A PipeWire session as a desktop runs it, for one test: pipewire, wireplumber
// and pipewire-pulse on a private runtime folder and session bus, the
// environment pointing at them as a desktop's does (the runtime folder and
// the bus; no SDL driver and no server address), a null sink made the default.
// Everything started is ended with the world.

#include <string>
#include <sys/types.h>

class PipeWireWorld {
public:
    // Makes the runtime folder (0700), home and state under `folder`, points
    // the environment at them and starts the session bus.
    explicit PipeWireWorld(const std::string& folder);
    ~PipeWireWorld();
    PipeWireWorld(const PipeWireWorld&) = delete;
    PipeWireWorld& operator=(const PipeWireWorld&) = delete;

    // Starts the three servers and makes a null sink `sink` at 48 kHz the
    // default; true once the pulse socket answers with it.
    bool Start(const std::string& sink = "lirvan");
    // Ends them as `systemctl --user restart` does (SIGTERM, pipewire-pulse
    // first) and waits for their ends, so that no socket is left.
    void Stop();
    // Another null sink, not made the default.
    bool AddSink(const std::string& sink);
    static bool SetDefaultSink(const std::string& sink);

private:
    std::string m_folder;
    pid_t m_bus = 0;
    pid_t m_pipewire = 0;
    pid_t m_wireplumber = 0;
    pid_t m_pulse = 0;
};
