#include "platform/executable_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::string g_override;

// The folder of /proc/self/exe, ending in "/".
std::string RunningExecutableFolder()
{
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "./";
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// The per-user data folder of the XDG base directories, or empty when unknown.
std::string UserDataFolder(const char* xdgDataHome, const char* home)
{
    // The base directory rules ignore a relative XDG_DATA_HOME.
    if (xdgDataHome && xdgDataHome[0] == '/') return xdgDataHome;
    if (home && home[0] != '\0') return std::string(home) + "/.local/share";
    return {};
}

} // namespace

std::string ApplicationFolder(const std::string& exeFolder, const char* xdgDataHome, const char* home)
{
    std::error_code error;
    if (std::filesystem::is_directory(exeFolder + "pl", error)) return exeFolder;
    const std::string data = UserDataFolder(xdgDataHome, home);
    if (data.empty()) return exeFolder;
    std::string folder = data;
    if (folder.back() != '/') folder += '/';
    folder += "lirvan1/";
    // A folder that cannot be made fails later, as a missing pl/ does.
    std::filesystem::create_directories(folder + "pl", error);
    return folder;
}

std::string ExecutableFolder()
{
    if (!g_override.empty()) return g_override;
    // Decided once: playlists do not move to another folder while the player runs.
    static const std::string decided =
        ApplicationFolder(RunningExecutableFolder(), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    return decided;
}

void OverrideExecutableFolder(const std::string& folder) { g_override = folder; }
