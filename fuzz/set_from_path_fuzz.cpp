// SetFromPath on any path: the record keeps the path whole, and the name is the
// text between the path's last dot and the folder separator before it.

#include "fuzz_input.h"
#include "playlists/tables.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view path(reinterpret_cast<const char*>(data), size);
    s_simple record;
    record.name = "stale";
    record.SetFromPath(path);
    Require(record.path == path, "the path is kept whole");

    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) {
        Require(record.name.empty(), "a path without a dot has an empty name");
        return 0;
    }
    const std::size_t slash = path.substr(0, dot).rfind('/');
    const std::size_t begin = slash == std::string_view::npos ? 0 : slash + 1;
    Require(record.name == path.substr(begin, dot - begin),
            "the name runs from the separator before the last dot to that dot");
    return 0;
}
