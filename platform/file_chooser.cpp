#include "platform/file_chooser.h"

#include <filesystem>

ChooserResult ChooserResultFor(const std::vector<std::string>& paths)
{
    ChooserResult result;
    if (paths.size() == 1) {
        result.buffer = paths.front() + std::string(2, '\0');
        result.fileOffset = paths.front().rfind('/') + 1;
        return result;
    }
    const std::filesystem::path folder = std::filesystem::path(paths.front()).parent_path();
    result.buffer = folder.string() + '\0';
    result.fileOffset = result.buffer.size();
    for (const std::string& path : paths) {
        result.buffer += std::filesystem::path(path).lexically_relative(folder).string() + '\0';
    }
    result.buffer += '\0';
    return result;
}
