// Save and Delete change only playlist files of ours; reading follows any catalogue line.

#include "playlists/playlist_messages.h"
#include "playlists/playlist_ownership.h"
#include "playlists/tables.h"
#include "tests/playlists/playlist_fixtures.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// A catalogue line naming a file that is no playlist file of ours: the path the
// line holds, and the file behind it that must stay as it is.
struct ForeignLine {
    const char* what;
    std::string named;
    std::string file;
    bool link = false; // named is a link in pl to file
};

constexpr int kForeignLines = 5;

std::vector<ForeignLine> ForeignLines(const TempExeFolder& folder)
{
    return {
        {"a file elsewhere", folder.Path() + "notes.txt", folder.Path() + "notes.txt"},
        {"pl/../x.plt", folder.Pl("../x.plt"), folder.Path() + "x.plt"},
        {"a link in pl leading out", folder.Pl("out.plt"), folder.Path() + "target.plt", true},
        {"the catalogue", folder.Pl("PLT.plt"), folder.Pl("PLT.plt")},
        {"a file in pl without .plt", folder.Pl("notes.txt"), folder.Pl("notes.txt")},
    };
}

// A window over playlist "a" and, second, playlist "f" whose line names line.named.
struct ForeignPlaylist {
    explicit ForeignPlaylist(int index) : line(ForeignLines(h.folder).at(index))
    {
        AddPlaylist(h.folder, "a", kThreeTracks);
        aLine = ReadBytes(h.folder.Pl("PLT.plt"));
        if (line.file != h.folder.Pl("PLT.plt")) WriteBytes(line.file, CrLf({"/m/f.mp3"}));
        if (line.link) fs::create_symlink(line.file, line.named);
        WriteBytes(h.folder.Pl("PLT.plt"), aLine + CrLf({line.named + "*f"}));
        fileBytes = ReadBytes(line.file);
        h.Open();
        h.UserSelectRow(IDC_PLAYLIST_LIST, 1);
    }
    QString Message(const char* text) const
    {
        return QString::fromUtf8(text).arg(QString::fromStdString(line.named));
    }
    PlayerHarness h;
    ForeignLine line;
    std::string aLine;
    std::string fileBytes;
};

} // namespace

TEST(PlaylistOwnership, OnlyPlaylistFilesInPlAreOurs)
{
    TempExeFolder folder;
    for (const char* name : {"a.plt", "PLT.plt", "PLT.pltt", "notes.txt"}) {
        WriteBytes(folder.Pl(name), "");
    }
    WriteBytes(folder.Path() + "x.plt", "");
    fs::create_directories(folder.Pl("sub"));
    fs::create_directories(folder.Pl("dir.plt"));
    fs::create_symlink(folder.Pl("a.plt"), folder.Pl("in.plt"));
    fs::create_symlink(folder.Pl("PLT.plt"), folder.Pl("catalogue.plt"));
    fs::create_symlink(folder.Pl("gone.plt"), folder.Pl("dangling.plt"));
    fs::create_hard_link(folder.Pl("PLT.plt"), folder.Pl("hard.plt"));

    using enum PlaylistFileOwner;
    const std::vector<std::pair<std::string, PlaylistFileOwner>> cases = {
        {folder.Pl("a.plt"), Ours},
        {folder.Pl("sub/../a.plt"), Ours},
        {folder.Pl("./in.plt"), Ours}, // a link that stays in pl
        {folder.Pl("new.plt"), Missing},
        {folder.Pl("../x.plt"), Foreign},
        {folder.Pl("PLT.plt"), Foreign},
        {folder.Pl("PLT.pltt"), Foreign},
        {folder.Pl("notes.txt"), Foreign},
        {folder.Pl("catalogue.plt"), Foreign}, // a link to the catalogue
        {folder.Pl("hard.plt"), Foreign},      // the catalogue under another name
        {folder.Pl("dangling.plt"), Foreign},
        {folder.Pl("dir.plt"), Foreign},
        {folder.Pl("sub/new.plt"), Foreign},
        {folder.Path() + "new.plt", Foreign},
        {"a.plt", Foreign}, // a bare name is taken from the working folder, not pl
        {"", Foreign},
    };
    for (const auto& [path, owner] : cases) EXPECT_EQ(OwnerOf(path), owner) << path;
}

TEST(PlaylistOwnership, DeleteRemovesTheLineButKeepsAForeignFile)
{
    for (int i = 0; i < kForeignLines; ++i) {
        ForeignPlaylist t(i);
        SCOPED_TRACE(t.line.what);
        t.h.Click(IDC_DELETE_PLAYLIST);
        EXPECT_EQ(ReadBytes(t.h.folder.Pl("PLT.plt")), t.aLine);
        EXPECT_EQ(t.h.Items(IDC_PLAYLIST_LIST), QStringList{"a"});
        if (t.line.file != t.h.folder.Pl("PLT.plt")) {
            EXPECT_EQ(ReadBytes(t.line.file), t.fileBytes);
        }
        EXPECT_EQ(fs::is_symlink(t.line.named), t.line.link);
        ASSERT_EQ(t.h.messages.shown.size(), 2u); // the question, then the file kept
        EXPECT_EQ(t.h.messages.shown[1].text, t.Message(kPlaylistFileKeptText));
        EXPECT_EQ(t.h.messages.shown[1].buttons, MessageButtons::Ok);
    }
}

TEST(PlaylistOwnership, SaveWritesNothingToAForeignFileButReadsIt)
{
    for (int i = 0; i < kForeignLines; ++i) {
        ForeignPlaylist t(i);
        SCOPED_TRACE(t.line.what);
        if (t.line.file != t.h.folder.Pl("PLT.plt")) {
            EXPECT_EQ(t.h.Items(IDC_TRACK_LIST), QStringList{"f"});
        }
        const auto folderBefore = std::distance(fs::directory_iterator(t.h.folder.Path()), {});
        const auto plBefore = std::distance(fs::directory_iterator(t.h.folder.Pl()), {});
        t.h.Click(IDC_SAVE);
        EXPECT_EQ(ReadBytes(t.line.file), t.fileBytes);
        EXPECT_EQ(std::distance(fs::directory_iterator(t.h.folder.Path()), {}), folderBefore);
        EXPECT_EQ(std::distance(fs::directory_iterator(t.h.folder.Pl()), {}), plBefore);
        ASSERT_EQ(t.h.messages.shown.size(), 1u);
        EXPECT_EQ(t.h.messages.shown[0].text, t.Message(kForeignPlaylistFileText));
        EXPECT_EQ(t.h.messages.shown[0].caption, "Ошибка");
    }
}

TEST(PlaylistOwnership, APlaylistOfOurOwnIsSavedIntoAndDeletedAsBefore)
{
    PlayerHarness h;
    AddPlaylist(h.folder, "a", kThreeTracks);
    h.Open();
    CreateNamed(h, "new");
    h.Click(IDC_SAVE);
    EXPECT_EQ(ReadBytes(h.folder.Pl("new.plt")), CrLf(kThreeTracks) + CrLf(kThreeTracks));

    // Its file gone by hand: Save makes it again in pl from the six tracks listed.
    const std::string saved = ReadBytes(h.folder.Pl("new.plt"));
    fs::remove(h.folder.Pl("new.plt"));
    h.Click(IDC_SAVE);
    EXPECT_EQ(ReadBytes(h.folder.Pl("new.plt")), saved);
    h.UserSelectRow(IDC_PLAYLIST_LIST, 1);
    h.Click(IDC_DELETE_PLAYLIST);
    EXPECT_FALSE(Exists(h.folder.Pl("new.plt")));
    EXPECT_EQ(h.Items(IDC_PLAYLIST_LIST), QStringList{"a"});
    ASSERT_EQ(h.messages.shown.size(), 1u); // only the question
}
