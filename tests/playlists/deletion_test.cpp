// Deleting a playlist: the catalogue copy, and the replacement that never loses the catalogue.

#include "playlists/deletion.h"
#include "playlists/playlist_messages.h"
#include "playlists/tables.h"
#include "tests/playlists/failing_file_system.h"
#include "tests/playlists/playlist_fixtures.h"

#include <gtest/gtest.h>

using namespace lirvan;

namespace {

CatalogueWithout CopyOf(const std::string& bytes, int line)
{
    TempExeFolder folder;
    WriteBytes(folder.Pl("PLT.plt"), bytes);
    auto file = TextFile::Open(folder.Pl("PLT.plt"), TextFile::Access::Read);
    return CopyCatalogueWithout(*file, line);
}

// A window over three playlists a, b, c with one track each.
struct ThreePlaylists {
    ThreePlaylists()
    {
        for (const char* name : {"a", "b", "c"}) {
            files.push_back(AddPlaylist(h.folder, name, {std::string("/m/") + name + "1.mp3"}));
        }
        catalogue = ReadBytes(h.folder.Pl("PLT.plt"));
        h.Open();
    }
    void Delete(int row)
    {
        h.UserSelectRow(IDC_PLAYLIST_LIST, row);
        h.Click(IDC_DELETE_PLAYLIST);
    }
    // The catalogue and every playlist file are as they were.
    void ExpectUntouched()
    {
        EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), catalogue);
        for (const std::string& file : files) EXPECT_TRUE(Exists(file)) << file;
        EXPECT_EQ(h.Items(IDC_PLAYLIST_LIST), (QStringList{"a", "b", "c"}));
    }
    PlayerHarness h;
    std::vector<std::string> files;
    std::string catalogue;
};

} // namespace

TEST(CopyCatalogueWithout, LeavesOutOneLineAndDropsEmptyLines)
{
    const CatalogueWithout copy = CopyOf("/p/a*A\r\n\r\n/p/b*B*x\r\n/p/c*C\n", 2);
    EXPECT_EQ(copy.text, "/p/a*A\n/p/c*C\n");
    EXPECT_EQ(copy.deletedPath, "/p/b");
    EXPECT_EQ(CopyOf("/p/a*A\r\n/p/b*B", 0).text, "/p/b*B");
    EXPECT_EQ(CopyOf("/p/a*A\r\n", 0).text, "");
}

TEST(DeletePlaylist, RemovesTheLineAndTheFile)
{
    ThreePlaylists t;
    t.Delete(0);
    ASSERT_EQ(t.h.messages.shown.size(), 1u);
    EXPECT_EQ(t.h.messages.shown[0].text, QString::fromUtf8(kDeleteQuestionText));
    EXPECT_EQ(t.h.messages.shown[0].caption, "Удаление");
    EXPECT_EQ(t.h.messages.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_FALSE(Exists(t.files[0]));
    EXPECT_EQ(ReadBytes(t.h.folder.Pl("PLT.plt")), t.catalogue.substr(t.catalogue.find('\n') + 1));
    EXPECT_EQ(t.h.Items(IDC_PLAYLIST_LIST), (QStringList{"b", "c"}));
    EXPECT_EQ(t.h.SelectedRow(IDC_PLAYLIST_LIST), 0);
    EXPECT_EQ(t.h.Items(IDC_TRACK_LIST), QStringList{"b1"});
    EXPECT_FALSE(Exists(t.h.folder.Pl("PLT.pltt")));

    // The last one: the rest stays byte for byte.
    const std::string before = ReadBytes(t.h.folder.Pl("PLT.plt"));
    t.Delete(1);
    EXPECT_EQ(ReadBytes(t.h.folder.Pl("PLT.plt")), before.substr(0, before.find('\n') + 1));
    EXPECT_FALSE(Exists(t.files[2]));

    // The only one: an empty catalogue and empty lists.
    t.Delete(0);
    EXPECT_EQ(ReadBytes(t.h.folder.Pl("PLT.plt")), "");
    EXPECT_TRUE(t.h.Items(IDC_PLAYLIST_LIST).isEmpty() && t.h.Items(IDC_TRACK_LIST).isEmpty());
    EXPECT_EQ(playlistCount, 0);
    EXPECT_EQ(t.h.Text(IDC_STATUS), "Остановлено");
    // Nothing left to delete: nothing is asked.
    t.h.Click(IDC_DELETE_PLAYLIST);
    EXPECT_EQ(t.h.messages.shown.size(), 3u);
}

TEST(DeletePlaylist, CancelKeepsEverythingButAnEmptyTemporaryCatalogue)
{
    ThreePlaylists t;
    t.h.messages.answer = IDCANCEL;
    t.Delete(1);
    t.ExpectUntouched();
    EXPECT_EQ(ReadBytes(t.h.folder.Pl("PLT.pltt")), "");
}

TEST(DeletePlaylist, AFailedReplacementLeavesTheOldCatalogueWhole)
{
    using Op = FailingFileSystem::Op;
    // The temporary catalogue cannot be made, written, synced or closed, or the rename fails.
    for (const Op op : {Op::Open, Op::Write, Op::Sync, Op::Close, Op::Rename}) {
        ThreePlaylists t;
        FailingFileSystem fs;
        fs.FailEvery(op, "PLT.pltt");
        t.Delete(1);
        t.ExpectUntouched();
        EXPECT_EQ(t.h.messages.shown.back().text, QString::fromUtf8(kCatalogueNotWrittenText))
            << static_cast<int>(op);
    }
    // A good run syncs the new catalogue before it takes the old one's place.
    ThreePlaylists t;
    FailingFileSystem fs;
    t.Delete(1);
    EXPECT_EQ(fs.Calls(FailingFileSystem::Op::Sync), 1);
    EXPECT_EQ(t.h.Items(IDC_PLAYLIST_LIST), (QStringList{"a", "c"}));
}

TEST(DeletePlaylist, RefusesWhenTheLineIsAnotherPlaylists)
{
    // A hand-made empty line shifts the lines against the playlists.
    PlayerHarness h;
    WriteBytes(h.folder.Pl("PLT.plt"), "\r\n");
    const std::string a = AddPlaylist(h.folder, "a", {});
    const std::string b = AddPlaylist(h.folder, "b", {});
    const std::string catalogue = ReadBytes(h.folder.Pl("PLT.plt"));
    h.Open();
    h.UserSelectRow(IDC_PLAYLIST_LIST, 1);
    h.Click(IDC_DELETE_PLAYLIST);
    EXPECT_EQ(h.messages.shown.back().text, QString::fromUtf8(kCatalogueMismatchText));
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), catalogue);
    EXPECT_TRUE(Exists(a) && Exists(b));
}

TEST(DeletePlaylist, RefusesWhenTheCatalogueCannotBeReadToItsEnd)
{
    // The deleted line is read whole, then the read of the rest fails.
    PlayerHarness h;
    std::string catalogue = h.folder.Pl("a.plt") + "*a\r\n";
    for (int i = 0; i < 60; ++i) {
        catalogue += "/p/" + std::string(100, 'x') + std::to_string(i) + ".plt*x\r\n";
    }
    WriteBytes(h.folder.Pl("PLT.plt"), catalogue);
    WriteBytes(h.folder.Pl("a.plt"), "");
    h.Open();
    FailingFileSystem fs;
    fs.FailNth(FailingFileSystem::Op::Read, 2);
    h.UserSelectRow(IDC_PLAYLIST_LIST, 0);
    h.Click(IDC_DELETE_PLAYLIST);
    EXPECT_EQ(h.messages.shown.back().text, QString::fromUtf8(kCatalogueNotReadText));
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), catalogue);
    EXPECT_TRUE(Exists(h.folder.Pl("a.plt")));
}

TEST(DeletePlaylist, ACatalogueThatCannotBeReadBackEmptiesBothLists)
{
    // The deletion is done; only the reading back fails (opens: the catalogue,
    // the temporary one, the catalogue again).
    ThreePlaylists t;
    const QString status = t.h.Text(IDC_STATUS);
    const std::size_t engineCalls = t.h.engine.calls.size();
    {
        FailingFileSystem fs;
        fs.FailNth(FailingFileSystem::Op::Open, 3);
        t.Delete(0);
    }
    EXPECT_FALSE(Exists(t.files[0]));
    EXPECT_EQ(playlistCount, 0);
    EXPECT_EQ(trackSlots, 0);
    EXPECT_TRUE(t.h.Items(IDC_PLAYLIST_LIST).isEmpty());
    EXPECT_TRUE(t.h.Items(IDC_TRACK_LIST).isEmpty());
    // Neither the status nor playback is touched.
    EXPECT_EQ(t.h.Text(IDC_STATUS), status);
    EXPECT_EQ(t.h.engine.calls.size(), engineCalls);
}
