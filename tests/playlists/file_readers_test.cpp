// The catalogue and playlist-file readers, on real files.

#include "playlists/file_readers.h"
#include "playlists/playlist_paths.h"
#include "tests/playlists/playlist_fixtures.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

struct ReadResult {
    Entries entries;
    bool separatorSeen;
};

ReadResult ReadCatalogueBytes(const std::string& bytes, std::span<PList> table)
{
    TempExeFolder folder;
    WriteBytes(folder.Pl("PLT.plt"), bytes);
    auto file = TextFile::Open(folder.Pl("PLT.plt"), TextFile::Access::Read);
    const CatalogueRead read = ReadCatalogue(*file, table);
    ReadResult result{{}, read.separatorSeen};
    for (int i = 0; i < read.entries; ++i) {
        result.entries.emplace_back(table[i].path, table[i].name);
    }
    return result;
}

// Reads into a table of `records` records followed by a guard record; gives
// the paths of the records used, the trailing one included.
std::vector<std::string> ReadPlaylistBytes(const std::string& bytes, int records = kTrackRecords)
{
    TempExeFolder folder;
    WriteBytes(folder.Pl("a.plt"), bytes);
    std::vector<s_simple> table(records + 1);
    for (s_simple& record : table) record.SetFromPath("/stale/old.mp3");
    auto file = TextFile::Open(folder.Pl("a.plt"), TextFile::Access::Read);
    const int used = ReadPlaylistFile(*file, std::span(table).first(records));
    EXPECT_EQ(table[records].path, "/stale/old.mp3") << "wrote beyond the table";
    std::vector<std::string> paths;
    for (int i = 0; i < used; ++i) paths.push_back(table[i].path);
    return paths;
}

} // namespace

TEST(ReadCatalogue, FollowsTheLinesAndSeparators)
{
    PList table[kPlaylistRecords];
    const std::vector<std::pair<std::string, ReadResult>> cases = {
        {"/p/a.plt*A\r\n/p/b.plt*B\r\n", {{{"/p/a.plt", "A"}, {"/p/b.plt", "B"}}, true}},
        {"/p/a.plt*A\n/p/b.plt*B\n", {{{"/p/a.plt", "A"}, {"/p/b.plt", "B"}}, true}},
        {"\r\n/p/a.plt*A\r\n\r\n", {{{"/p/a.plt", "A"}}, true}},
        {"*\r\n", {{{"", ""}}, true}},
        {"/p/\r\na.plt*A\r\n", {{{"/p/a.plt", "A"}}, true}},
        {"/p/a.plt*A*B*\r\n", {{{"/p/a.plt", "AB"}}, true}},
        {"/p/a.plt*A\r\n/p/b.plt", {{{"/p/a.plt", "A"}}, true}},
        {"no separator\r\nat all", {{}, false}},
        {"/p/x\ry.plt*A\r\n", {{{"/p/x\ry.plt", "A"}}, true}},
        {"x*", {{}, true}},
        {"", {{}, false}},
    };
    for (const auto& [bytes, expected] : cases) {
        const ReadResult read = ReadCatalogueBytes(bytes, table);
        EXPECT_EQ(read.entries, expected.entries) << bytes;
        EXPECT_EQ(read.separatorSeen, expected.separatorSeen) << bytes;
    }
}

TEST(ReadCatalogue, KeepsToTheTable)
{
    std::string bytes;
    for (int i = 0; i < kPlaylistRecords + 5; ++i) bytes += "/p/" + std::to_string(i) + "*N\r\n";
    PList table[kPlaylistRecords + 1];
    table[kPlaylistRecords].name = "guard";
    const ReadResult read = ReadCatalogueBytes(bytes, std::span(table).first(kPlaylistRecords));
    ASSERT_EQ(read.entries.size(), std::size_t(kPlaylistRecords));
    EXPECT_EQ(read.entries.back().first, "/p/69");
    EXPECT_EQ(table[kPlaylistRecords].name, "guard");
}

TEST(ReadPlaylistFile, GivesTracksThenTheTrailingRecord)
{
    using Paths = std::vector<std::string>;
    EXPECT_EQ(ReadPlaylistBytes(CrLf({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"})),
              (Paths{"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", ""}));
    EXPECT_EQ(ReadPlaylistBytes("/m/a.mp3\n/m/b.mp3\n"), (Paths{"/m/a.mp3", "/m/b.mp3", ""}));
    EXPECT_EQ(ReadPlaylistBytes("/m/a.mp3\r\n\r\n/m/c.mp3\r\n"), (Paths{"/m/a.mp3", "", "/m/c.mp3", ""}));
    EXPECT_EQ(ReadPlaylistBytes(""), Paths{});
    // A last line without its line end is still a track.
    EXPECT_EQ(ReadPlaylistBytes("/m/a.mp3\r\n/m/b.mp3"), (Paths{"/m/a.mp3", "/m/b.mp3", ""}));
    EXPECT_EQ(ReadPlaylistBytes("/m/a.mp3"), (Paths{"/m/a.mp3", ""}));
}

TEST(ReadPlaylistFile, KeepsToTheTableAndPathsUpToTheSystemsLimit)
{
    std::string bytes;
    for (int i = 0; i < 600; ++i) bytes += "/m/" + std::to_string(i) + ".mp3\r\n";
    const std::vector<std::string> paths = ReadPlaylistBytes(bytes);
    ASSERT_EQ(paths.size(), std::size_t(kTrackRecords));
    EXPECT_EQ(paths[kMaxTracks - 1], "/m/498.mp3");
    EXPECT_EQ(paths[kMaxTracks], "");
    EXPECT_EQ(ReadPlaylistBytes("/m/a\r\n/m/b\r\n/m/c", 2), (std::vector<std::string>{"/m/a", ""}));

    // A path the system allows is kept whole; a longer line keeps the whole
    // two-byte characters that fit in the system's limit.
    std::string longLine = "/";
    while (longLine.size() + 2 <= kTrackPathBytes) longLine += "я";
    EXPECT_EQ(ReadPlaylistBytes(longLine + "\r\n").at(0), longLine);
    EXPECT_EQ(ReadPlaylistBytes("/" + longLine + "\r\n").at(0), "/" + longLine);
    EXPECT_EQ(ReadPlaylistBytes(longLine + "я\r\n").at(0), longLine);
}

TEST(FirstCharacters, CountsCharactersNotBytes)
{
    EXPECT_EQ(FirstCharacters("абв", 2), "аб");
    EXPECT_EQ(FirstCharacters("a€b", 2), "a€");
    EXPECT_EQ(FirstCharacters("ab", 39), "ab");
    EXPECT_EQ(FirstCharacters("", 3), "");
}
