// The playlist-file reader on any bytes: one track per line (CR LF or LF), the text
// after the last line end too, each path cut to the system's limit without
// splitting a character, then the empty trailing record; never more tracks than the table
// holds, and no record written past those it reports. Then tracks appended by the
// program, the input's lines, read back to the same paths.

#include "fuzz_input.h"
#include "playlists/file_readers.h"
#include "playlists/playlist_paths.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// path is what a track line of the file becomes: the whole line when it is short
// enough, else its first kTrackPathBytes bytes less at most the three bytes of a
// character that does not fit whole.
bool IsTrackPathOf(const std::string& path, std::string_view line)
{
    if (line.substr(0, path.size()) != path) return false;
    if (path.size() == line.size()) return line.size() <= kTrackPathBytes;
    if (path.size() > kTrackPathBytes || path.size() + 3 < kTrackPathBytes) return false;
    return path.size() == kTrackPathBytes || !IsContinuationByte(line[path.size()]);
}

// One track per line, the text after the last line end too.
std::vector<std::string> TrackLines(std::string_view text)
{
    Lines lines = SplitLines(text);
    if (!lines.tail.empty()) lines.terminated.push_back(lines.tail);
    return lines.terminated;
}

using Table = std::array<s_simple, kTrackRecords>;

void RequireTracks(const std::string& path, const std::vector<std::string>& lines, bool emptyFile)
{
    static Table table;
    for (s_simple& record : table) record.path = record.name = "stale";
    auto file = TextFile::Open(path, TextFile::Access::Read);
    Require(file != nullptr, "the playlist file opens");
    const int used = ReadPlaylistFile(*file, table);

    if (emptyFile) {
        Require(used == 0, "an empty file gives no record");
    } else {
        const std::size_t tracks = std::min<std::size_t>(lines.size(), kMaxTracks);
        Require(used == static_cast<int>(tracks) + 1, "one record per line, then the trailing record");
        for (std::size_t i = 0; i < tracks; ++i) {
            Require(IsTrackPathOf(table[i].path, lines[i]), "each line becomes its track's path");
            s_simple derived;
            derived.SetFromPath(table[i].path);
            Require(table[i].name == derived.name, "each track's name is derived from its path");
        }
        Require(table[tracks].path.empty() && table[tracks].name.empty(), "the trailing record is empty");
    }
    for (std::size_t i = static_cast<std::size_t>(used); i < table.size(); ++i) {
        Require(table[i].path == "stale", "no record past the used ones is written");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    MemoryFileSystem fs;
    fs.files["input.plt"] = std::string(input);
    const std::vector<std::string> lines = TrackLines(input);
    RequireTracks("input.plt", lines, input.empty());

    PList playlist;
    playlist.path = "appended.plt";
    for (const std::string& line : lines) Require(playlist.AppendTrack(line), "a track line is appended");
    if (lines.empty()) return 0;
    RequireTracks(playlist.path, lines, false);
    return 0;
}
