// The walk over the chooser's answer, on any buffer and any offset: one path per
// name from the offset up to an empty name or the buffer's end, each the folder
// string, "/" and the name when that file opens, else that joined path cut back
// at its last "/". The first input byte says which of the joined paths exist, the second where
// the offset points.

#include "fuzz_input.h"
#include "platform/regular_file.h"
#include "playback/chooser_walk.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// The names the walk should visit, read independently of it.
std::vector<std::string> NamesFrom(std::string_view buffer, std::size_t offset)
{
    std::vector<std::string> names;
    while (offset < buffer.size() && buffer[offset] != '\0') {
        std::size_t end = buffer.find('\0', offset);
        if (end == std::string_view::npos) end = buffer.size();
        names.emplace_back(buffer.substr(offset, end - offset));
        offset = end + 1;
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::uint8_t existing = provider.ConsumeIntegral<std::uint8_t>();
    const std::uint8_t shape = provider.ConsumeIntegral<std::uint8_t>();
    ChooserResult result;
    result.buffer = provider.ConsumeRemainingBytesAsString();
    const std::string_view buffer = result.buffer;
    // The chooser's two shapes (past the folder and its NUL, or at the file name
    // of one whole path), and any offset at all, past the buffer too.
    switch (shape % 3) {
    case 0: result.fileOffset = std::min(buffer.find('\0'), buffer.size()) + 1; break;
    case 1: result.fileOffset = buffer.substr(0, buffer.find('\0')).rfind('/') + 1; break;
    default: result.fileOffset = shape / 3u; break;
    }

    const std::string folder(buffer.substr(0, buffer.find('\0')));
    const std::vector<std::string> names = NamesFrom(buffer, result.fileOffset);
    MemoryFileSystem fs;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (existing >> i % 8 & 1) fs.files[folder + "/" + names[i]];
    }
    std::vector<std::string> expected;
    for (const std::string& name : names) {
        std::string joined = folder + "/" + name;
        // Kept only when it opens and is a regular file on the real system too,
        // which the walk asks before it opens anything.
        if (!fs.files.count(joined) || !IsRegularFile(joined.c_str())) joined.resize(joined.rfind('/'));
        expected.push_back(joined);
    }

    const std::vector<std::string> paths = WalkChooserResult(result);
    Require(paths == expected, "one path per name: joined when it opens, else cut back");
    return 0;
}
