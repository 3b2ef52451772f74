// The window's playlist list and track commands: selecting, removing, saving.

#include "playlists/playlist_messages.h"
#include "playlists/tables.h"
#include "tests/playlists/failing_file_system.h"
#include "tests/playlists/playlist_fixtures.h"

#include <QListWidget>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kTracks = {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"};

} // namespace

TEST(PlaylistList, ShowsTheCatalogueAndLoadsTheSelectedPlaylist)
{
    PlayerHarness h;
    AddPlaylist(h.folder, "one", kTracks);
    AddPlaylist(h.folder, "two", {"/m/x.mp3"});
    WriteBytes(h.folder.Pl("PLT.plt"), ReadBytes(h.folder.Pl("PLT.plt")) + "/nowhere.plt*gone\r\n");
    h.Open();
    EXPECT_EQ(h.Items(1016), (QStringList{"one", "two", "gone"}));
    EXPECT_EQ(h.SelectedRow(1016), 0);
    EXPECT_EQ(h.Items(1014), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(trackSlots, 4);

    h.UserSelectRow(1016, 1);
    EXPECT_EQ(currentPlaylist, 1);
    EXPECT_EQ(h.Items(1014), QStringList{"x"});
    // A playlist whose file is gone shows no tracks rather than the previous ones.
    h.UserSelectRow(1016, 2);
    EXPECT_EQ(trackSlots, 0);
    EXPECT_TRUE(h.Items(1014).isEmpty());
}

TEST(PlaylistList, CatalogueWithoutEntriesOrBeyondTheTable)
{
    {
        PlayerHarness h; // no catalogue at all
        h.Open();
        EXPECT_TRUE(h.Items(1016).isEmpty());
        EXPECT_EQ(h.Text(1001), "");
    }
    {
        PlayerHarness h;
        WriteBytes(h.folder.Pl("PLT.plt"), "no separator\r\n");
        h.Open();
        EXPECT_TRUE(h.Items(1016).isEmpty() && h.Items(1014).isEmpty());
        EXPECT_EQ(playlistCount, 0);
    }
    {
        PlayerHarness h;
        for (int i = 0; i < kPlaylistRecords + 3; ++i) AddPlaylist(h.folder, std::to_string(i), {});
        const std::string catalogue = ReadBytes(h.folder.Pl("PLT.plt"));
        h.Open();
        EXPECT_EQ(h.Items(1016).size(), kPlaylistRecords);
        EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), catalogue);
    }
}

TEST(TrackCommands, RemoveTakesOutTheSelectedTrackOnly)
{
    PlayerHarness h;
    const std::string file = AddPlaylist(h.folder, "one", kTracks);
    h.Open();
    currentTrack = 1; // playing b

    h.UserSelectRow(1014, 1);
    h.Click(1008);
    EXPECT_EQ(h.Items(1014), (QStringList{"a", "c"}));
    EXPECT_EQ(trackSlots, 3);
    EXPECT_EQ(TrackTable[2].path, "");
    // The playing track goes on: nothing is stopped and currentTrack stays.
    EXPECT_EQ(currentTrack, 1);
    EXPECT_TRUE(h.engine.calls.empty());

    h.UserSelectRow(1014, 1); // the last one
    h.Click(1008);
    EXPECT_EQ(h.Items(1014), QStringList{"a"});
    EXPECT_EQ(TrackTable[1].path, "");

    // Nothing selected: nothing changes.
    CPlayerDlg::SelectRow(h.Control<QListWidget>(1014), -1);
    h.Click(1008);
    EXPECT_EQ(trackSlots, 2);

    h.UserSelectRow(1014, 0); // the only one
    h.Click(1008);
    EXPECT_TRUE(h.Items(1014).isEmpty());
    EXPECT_EQ(trackSlots, 1);
    EXPECT_EQ(ReadBytes(file), CrLf(kTracks));
}

TEST(TrackCommands, SaveOnlyAppendsAndReloads)
{
    PlayerHarness h;
    const std::string file = AddPlaylist(h.folder, "one", kTracks);
    h.Open();

    // Right after selecting: the same tracks once more.
    h.Click(1020);
    EXPECT_EQ(ReadBytes(file), CrLf(kTracks) + CrLf(kTracks));
    EXPECT_EQ(h.Items(1014).size(), 6);

    // A removed track stays in the file.
    h.UserSelectRow(1014, 0);
    h.Click(1008);
    h.Click(1020);
    std::vector<std::string> lines = kTracks;
    lines.insert(lines.end(), kTracks.begin(), kTracks.end());
    lines.insert(lines.end(), kTracks.begin() + 1, kTracks.end());
    lines.insert(lines.end(), kTracks.begin(), kTracks.end());
    EXPECT_EQ(ReadBytes(file), CrLf(lines));

    // Remove All, then two tracks as Add leaves them, then Save.
    WriteBytes(file, CrLf(kTracks));
    h.Click(1006);
    EXPECT_EQ(trackSlots, 0);
    EXPECT_TRUE(h.Items(1014).isEmpty());
    TrackTable[0].SetFromPath("/m/new1.mp3");
    TrackTable[1].SetFromPath("/m/new2.mp3");
    trackSlots = 3;
    h.Click(1020);
    EXPECT_EQ(ReadBytes(file), CrLf(kTracks) + CrLf({"/m/new1.mp3", "/m/new2.mp3"}));
    EXPECT_EQ(h.Items(1014), (QStringList{"a", "b", "c", "new1", "new2"}));

    // With an empty list nothing is written, and the file's tracks come back.
    h.Click(1006);
    h.Click(1020);
    EXPECT_EQ(h.Items(1014).size(), 5);
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(TrackCommands, SaveTellsWhenItCannotWrite)
{
    PlayerHarness h;
    WriteBytes(h.folder.Pl("PLT.plt"), "");
    h.Open();
    TrackTable[0].SetFromPath("/m/a.mp3");
    trackSlots = 2;
    // No playlist in the catalogue: nothing is written anywhere.
    h.Click(1020);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, QString::fromUtf8(kNoPlaylistToSaveText));
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(h.folder.Pl()), {}), 1);

    PlayerHarness g;
    const std::string file = AddPlaylist(g.folder, "one", kTracks);
    g.Open();
    FailingFileSystem fs;
    fs.FailEvery(FailingFileSystem::Op::Open, "one.plt");
    g.Click(1020);
    ASSERT_EQ(g.messages.shown.size(), 1u);
    EXPECT_EQ(g.messages.shown[0].text, QString::fromUtf8(kTracksNotWrittenText));
    EXPECT_EQ(ReadBytes(file), CrLf(kTracks));
}
