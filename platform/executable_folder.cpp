#include "platform/executable_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace {

std::string g_override;

bool CanWrite(const std::string& folder) { return access(folder.c_str(), W_OK) == 0; }

FolderWritableCheck g_writable = CanWrite;

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

std::string ApplicationFolder(const std::string& exeFolder, FolderWritableCheck writable,
                              const char* xdgDataHome, const char* home)
{
    if (writable(exeFolder)) return exeFolder;
    const std::string data = UserDataFolder(xdgDataHome, home);
    if (data.empty()) return exeFolder;
    std::string folder = data;
    if (folder.back() != '/') folder += '/';
    folder += "lirvan1/";
    std::error_code ignored; // a folder that cannot be made fails later, as a missing pl/ does
    std::filesystem::create_directories(folder + "pl", ignored);
    return folder;
}

std::string ExecutableFolder()
{
    if (!g_override.empty()) return g_override;
    return ApplicationFolder(RunningExecutableFolder(), g_writable, std::getenv("XDG_DATA_HOME"),
                             std::getenv("HOME"));
}

void OverrideExecutableFolder(const std::string& folder) { g_override = folder; }

void SetFolderWritableCheck(FolderWritableCheck check) { g_writable = check ? check : CanWrite; }
