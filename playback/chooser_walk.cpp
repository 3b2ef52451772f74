#include "playback/chooser_walk.h"

#include "platform/regular_file.h"
#include "platform/text_file.h"

#include <algorithm>
#include <string_view>

namespace {

// The path when it names a regular file that opens for reading; else the path
// up to its last "/". A named pipe or a device is never opened, so the walk
// never waits on one.
std::string OpenedOrCutBack(std::string path)
{
    if (IsRegularFile(path.c_str()) && TextFile::Open(path, TextFile::Access::Read)) return path;
    const std::size_t slash = path.rfind('/');
    path.resize(slash == std::string::npos ? 0 : slash);
    return path;
}

} // namespace

std::vector<std::string> WalkChooserResult(const ChooserResult& result)
{
    const std::string_view buffer = result.buffer;
    const std::string_view folder = buffer.substr(0, buffer.find('\0'));
    std::vector<std::string> paths;
    // The names end with an empty one, or with the buffer.
    for (std::size_t cursor = result.fileOffset; cursor < buffer.size() && buffer[cursor] != '\0';) {
        const std::size_t end = std::min(buffer.find('\0', cursor), buffer.size());
        std::string joined(folder);
        joined += '/';
        joined += buffer.substr(cursor, end - cursor);
        paths.push_back(OpenedOrCutBack(std::move(joined)));
        cursor = end + 1;
    }
    return paths;
}
