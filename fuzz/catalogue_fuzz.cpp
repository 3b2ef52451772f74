// The catalogue reader on any bytes, against a plain reading of the format: lines
// end in CR LF or LF; a line with "*" is an entry whose path is everything before
// its first "*" (with the text of earlier lines that had no "*") and whose name is
// the rest without "*"; text after the last line end is no entry; at most the
// table's records are filled. Then a catalogue that the program writes from the
// input's lines, as playlist names, reads back to exactly the playlists created;
// and a playlist created over the input as the catalogue keeps every byte of it,
// adding its own line after a CR LF when the input's last line has no line end.

#include "fuzz_input.h"
#include "platform/executable_folder.h"
#include "playlists/file_readers.h"
#include "playlists/playlist_paths.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <vector>

namespace {

std::vector<PList> ExpectedEntries(const Lines& lines)
{
    std::vector<PList> entries;
    std::string carried;
    for (const std::string& line : lines.terminated) {
        const std::size_t star = line.find('*');
        if (star == std::string::npos) {
            carried += line;
            continue;
        }
        PList entry;
        entry.path = carried + line.substr(0, star);
        std::remove_copy(line.begin() + star + 1, line.end(), std::back_inserter(entry.name), '*');
        entries.push_back(entry);
        carried.clear();
    }
    return entries;
}

void RequireEntries(std::span<const PList> table, int count, const std::vector<PList>& expected)
{
    Require(count == static_cast<int>(std::min(expected.size(), table.size())),
            "one entry per complete line, within the table");
    for (int i = 0; i < count; ++i) {
        Require(table[i].path == expected[i].path, "the path field reads back");
        Require(table[i].name == expected[i].name, "the name field reads back");
    }
}

CatalogueRead ReadCatalogueFile(const std::string& path, std::span<PList> table)
{
    auto file = TextFile::Open(path, TextFile::Access::Read);
    Require(file != nullptr, "the catalogue opens");
    return ReadCatalogue(*file, table);
}

void RequireCreationKeepsTheCatalogue(std::string_view input)
{
    MemoryFileSystem fs;
    fs.files[CataloguePath()] = std::string(input);
    PList record;
    Require(record.CreatePlaylistFile("new") == PList::CreateResult::Created, "a new name is created");
    const std::string lineEnd = input.empty() || input.back() == '\n' ? "" : "\r\n";
    Require(fs.files[CataloguePath()] == std::string(input) + lineEnd + record.path + "*new\r\n",
            "creation keeps every byte of the catalogue and adds one line");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The playlists' paths are keys of the memory file system; no need to ask /proc each time.
    OverrideExecutableFolder("/lirvan/");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    RequireCreationKeepsTheCatalogue(input);
    MemoryFileSystem fs;
    std::array<PList, kPlaylistRecords> table;

    fs.files["input.plt"] = std::string(input);
    const Lines lines = SplitLines(input);
    const CatalogueRead read = ReadCatalogueFile("input.plt", table);
    RequireEntries(table, read.entries, ExpectedEntries(lines));
    Require(read.separatorSeen == (input.find('*') != std::string_view::npos),
            "a separator anywhere counts as seen");

    // Each line of the input, as a name the dialog lets through, makes a playlist.
    std::vector<PList> created;
    for (const std::string& name : lines.terminated) {
        if (name.empty() || IsUnsafePlaylistName(name) || created.size() == kPlaylistRecords) continue;
        PList record;
        if (record.CreatePlaylistFile(name) == PList::CreateResult::Created) created.push_back(record);
    }
    if (created.empty()) return 0;
    const CatalogueRead written = ReadCatalogueFile(CataloguePath(), table);
    RequireEntries(table, written.entries, created);
    return 0;
}
