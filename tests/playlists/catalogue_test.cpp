// The playlist list: the catalogue shown at start-up and the selected playlist loaded.

#include "playlists/tables.h"
#include "tests/playlists/playlist_fixtures.h"

#include <gtest/gtest.h>

TEST(PlaylistList, ShowsTheCatalogueAndLoadsTheSelectedPlaylist)
{
    PlayerHarness h;
    AddPlaylist(h.folder, "one", kThreeTracks);
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

TEST(PlaylistList, CatalogueWithoutEntries)
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
        EXPECT_EQ(h.Text(1001), "Остановлено");
    }
    {
        // A "*" after the last line end lists nothing; the stale record behind
        // the empty list is not loaded, nor saved to.
        PlayerHarness h;
        PlaylistTable[0].path = AddPlaylist(h.folder, "stale", kThreeTracks);
        WriteBytes(h.folder.Pl("PLT.plt"), "x*");
        h.Open();
        EXPECT_TRUE(h.Items(1016).isEmpty() && h.Items(1014).isEmpty());
        h.Click(1020);
        EXPECT_EQ(ReadBytes(PlaylistTable[0].path), CrLf(kThreeTracks));
    }
}
