#include "pipewire_world.h"

#include "child_process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace {

bool Within(double seconds, const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool Quietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

} // namespace

PipeWireWorld::PipeWireWorld(const std::string& folder) : m_folder(folder)
{
    namespace fs = std::filesystem;
    const std::string run = folder + "/run";
    fs::create_directories(run);
    fs::permissions(run, fs::perms::owner_all, fs::perm_options::replace);
    fs::create_directories(folder + "/home");
    setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
    setenv("HOME", (folder + "/home").c_str(), 1);
    // WirePlumber keeps the chosen default sink in its state: a fresh one per world.
    setenv("XDG_STATE_HOME", (folder + "/home/state").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder + "/home/config").c_str(), 1);
    unsetenv("PULSE_SERVER");
    unsetenv("SDL_AUDIODRIVER");
    const std::string address = folder + "/bus-address";
    m_bus = Spawn({"dbus-daemon", "--session", "--nofork", "--print-address"}, address);
    std::string line;
    Within(5, [&] {
        std::ifstream(address) >> line;
        return !line.empty();
    });
    setenv("DBUS_SESSION_BUS_ADDRESS", line.c_str(), 1);
}

PipeWireWorld::~PipeWireWorld()
{
    Stop();
    EndProcess(m_bus);
}

bool PipeWireWorld::Start(const std::string& sink)
{
    m_pipewire = Spawn({"pipewire"}, m_folder + "/pipewire.log");
    // WirePlumber and the pulse server connect to pipewire's socket.
    if (!Within(5, [&] { return std::filesystem::exists(m_folder + "/run/pipewire-0"); })) return false;
    m_wireplumber = Spawn({"wireplumber"}, m_folder + "/wireplumber.log");
    m_pulse = Spawn({"pipewire-pulse"}, m_folder + "/pipewire-pulse.log");
    return Within(10, [] { return Quietly("pactl info"); }) && AddSink(sink) && SetDefaultSink(sink);
}

void PipeWireWorld::Stop()
{
    for (pid_t* server : {&m_pulse, &m_wireplumber, &m_pipewire}) {
        EndProcess(*server, SIGTERM);
        *server = 0;
    }
}

bool PipeWireWorld::AddSink(const std::string& sink)
{
    return Quietly("pactl load-module module-null-sink sink_name=" + sink + " rate=48000 channels=2") &&
        Within(5, [&] { return Quietly("pactl list short sinks | grep -qw " + sink); });
}

bool PipeWireWorld::SetDefaultSink(const std::string& sink)
{
    return Quietly("pactl set-default-sink " + sink) &&
        Within(5, [&] { return Quietly("LC_ALL=C pactl info | grep -q 'Default Sink: " + sink + "$'"); });
}
