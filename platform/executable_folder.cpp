#include "platform/executable_folder.h"

#include <filesystem>
#include <system_error>

namespace {
std::string g_override;
}

std::string ExecutableFolder()
{
    if (!g_override.empty()) return g_override;
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "./";
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

void OverrideExecutableFolder(const std::string& folder) { g_override = folder; }
