// The playlist list: the catalogue shown at start-up and the selected playlist loaded.

#include "playlists/tables.h"
#include "tests/playlists/playlist_fixtures.h"

#include <gtest/gtest.h>

using namespace lirvan;

TEST(PlaylistList, ShowsTheCatalogueAndLoadsTheSelectedPlaylist)
{
    PlayerHarness h;
    AddPlaylist(h.folder, "one", kThreeTracks);
    AddPlaylist(h.folder, "two", {"/m/x.mp3"});
    WriteBytes(h.folder.Pl("PLT.plt"), ReadBytes(h.folder.Pl("PLT.plt")) + "/nowhere.plt*gone\r\n");
    h.Open();
    EXPECT_EQ(h.Items(IDC_PLAYLIST_LIST), (QStringList{"one", "two", "gone"}));
    EXPECT_EQ(h.SelectedRow(IDC_PLAYLIST_LIST), 0);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(trackSlots, 4);

    h.UserSelectRow(IDC_PLAYLIST_LIST, 1);
    EXPECT_EQ(currentPlaylist, 1);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST), QStringList{"x"});
    // A playlist whose file is gone shows no tracks rather than the previous ones.
    h.UserSelectRow(IDC_PLAYLIST_LIST, 2);
    EXPECT_EQ(trackSlots, 0);
    EXPECT_TRUE(h.Items(IDC_TRACK_LIST).isEmpty());
}

TEST(PlaylistList, CatalogueWithoutEntries)
{
    {
        PlayerHarness h; // no catalogue at all
        h.Open();
        EXPECT_TRUE(h.Items(IDC_PLAYLIST_LIST).isEmpty());
        EXPECT_EQ(h.Text(IDC_STATUS), "");
    }
    {
        PlayerHarness h;
        WriteBytes(h.folder.Pl("PLT.plt"), "no separator\r\n");
        h.Open();
        EXPECT_TRUE(h.Items(IDC_PLAYLIST_LIST).isEmpty() && h.Items(IDC_TRACK_LIST).isEmpty());
        EXPECT_EQ(playlistCount, 0);
        EXPECT_EQ(h.Text(IDC_STATUS), "Остановлено");
    }
    {
        // A "*" after the last line end lists nothing; the stale record behind
        // the empty list is not loaded, nor saved to.
        PlayerHarness h;
        PlaylistTable[0].path = AddPlaylist(h.folder, "stale", kThreeTracks);
        WriteBytes(h.folder.Pl("PLT.plt"), "x*");
        h.Open();
        EXPECT_TRUE(h.Items(IDC_PLAYLIST_LIST).isEmpty() && h.Items(IDC_TRACK_LIST).isEmpty());
        h.Click(IDC_SAVE);
        EXPECT_EQ(ReadBytes(PlaylistTable[0].path), CrLf(kThreeTracks));
    }
}
