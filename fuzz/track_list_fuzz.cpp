// The reader of other players' lists on any bytes, read as an M3U, an M3U8 and a
// PLS: every entry becomes an absolute path without a NUL, no line gives more
// than one entry, and where no entry can be absolute or a URL, every one lies in
// the list's folder with its backslashes read as "/".

#include "fuzz_input.h"
#include "playlists/track_lists.h"

#include <algorithm>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto lines = static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n')) + 1;
    const bool onlyRelative = input.find_first_of("/:") == std::string_view::npos;
    for (const char* list : {"/l/a.m3u", "/l/a.m3u8", "/l/a.pls"}) {
        for (const std::string& path : TrackListEntries(list, input)) {
            Require(!path.empty() && path.front() == '/', "every entry is an absolute path");
            Require(path.find('\0') == std::string::npos, "no path holds a NUL");
            if (!onlyRelative) continue;
            Require(path.starts_with("/l/") && path.find('\\') == std::string::npos,
                    "a relative entry lies in the list's folder");
        }
        Require(TrackListEntries(list, input).size() <= lines, "at most one entry a line");
    }
    return 0;
}
