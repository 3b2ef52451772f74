// The track commands: removing one track, removing all, saving.

#include "playlists/playlist_messages.h"
#include "playlists/tables.h"
#include "tests/playlists/failing_file_system.h"
#include "tests/playlists/playlist_fixtures.h"

#include <QListWidget>
#include <filesystem>
#include <gtest/gtest.h>

using namespace lirvan;

TEST(TrackCommands, RemoveTakesOutTheSelectedTrackOnly)
{
    PlayerHarness h;
    const std::string file = AddPlaylist(h.folder, "one", kThreeTracks);
    h.Open();
    h.UserSelectRow(IDC_TRACK_LIST, 1);
    h.DoubleClickRow(IDC_TRACK_LIST, 1); // playing b
    const std::size_t engineCalls = h.engine.calls.size();

    h.UserSelectRow(IDC_TRACK_LIST, 1);
    h.Click(IDC_REMOVE_TRACK);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST), (QStringList{"a", "c"}));
    EXPECT_EQ(trackSlots, 3);
    EXPECT_EQ(TrackTable[2].path, "");
    // The playing track goes on: nothing is stopped and currentTrack stays.
    EXPECT_EQ(currentTrack, 1);
    EXPECT_EQ(h.SelectedRow(IDC_TRACK_LIST), 1) << "the item after the playing one";
    EXPECT_EQ(h.engine.calls.size(), engineCalls);
    EXPECT_EQ(h.Text(IDC_STATUS), "Играю");
    EXPECT_TRUE(h.Dlg().PlaybackTimerRunning());

    h.UserSelectRow(IDC_TRACK_LIST, 1); // the last one
    h.Click(IDC_REMOVE_TRACK);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST), QStringList{"a"});
    EXPECT_EQ(TrackTable[1].path, "");

    // Nothing selected: nothing changes.
    CPlayerDlg::SelectRow(h.Control<QListWidget>(IDC_TRACK_LIST), -1);
    h.Click(IDC_REMOVE_TRACK);
    EXPECT_EQ(trackSlots, 2);

    h.UserSelectRow(IDC_TRACK_LIST, 0); // the only one
    h.Click(IDC_REMOVE_TRACK);
    EXPECT_TRUE(h.Items(IDC_TRACK_LIST).isEmpty());
    EXPECT_EQ(trackSlots, 1);
    EXPECT_EQ(ReadBytes(file), CrLf(kThreeTracks));
}

TEST(TrackCommands, SaveOnlyAppendsAndReloads)
{
    PlayerHarness h;
    const std::string file = AddPlaylist(h.folder, "one", kThreeTracks);
    h.Open();

    // Right after selecting: the same tracks once more.
    h.Click(IDC_SAVE);
    EXPECT_EQ(ReadBytes(file), CrLf(kThreeTracks) + CrLf(kThreeTracks));
    EXPECT_EQ(h.Items(IDC_TRACK_LIST).size(), 6);

    // A removed track stays in the file.
    h.UserSelectRow(IDC_TRACK_LIST, 0);
    h.Click(IDC_REMOVE_TRACK);
    h.Click(IDC_SAVE);
    std::vector<std::string> lines = kThreeTracks;
    lines.insert(lines.end(), kThreeTracks.begin(), kThreeTracks.end());
    lines.insert(lines.end(), kThreeTracks.begin() + 1, kThreeTracks.end());
    lines.insert(lines.end(), kThreeTracks.begin(), kThreeTracks.end());
    EXPECT_EQ(ReadBytes(file), CrLf(lines));

    // Remove All stops playback; then Add two files and Save.
    WriteBytes(file, CrLf(kThreeTracks));
    h.UserSelectRow(IDC_TRACK_LIST, 0);
    h.DoubleClickRow(IDC_TRACK_LIST, 0);
    h.Click(IDC_REMOVE_ALL);
    EXPECT_EQ(trackSlots, 0);
    EXPECT_TRUE(h.Items(IDC_TRACK_LIST).isEmpty());
    EXPECT_EQ(h.Text(IDC_STATUS), "Остановлено");
    EXPECT_FALSE(h.Dlg().PlaybackTimerRunning());
    const std::vector<std::string> added = {h.folder.Path() + "new1.mp3", h.folder.Path() + "new2.mp3"};
    for (const std::string& path : added) WriteBytes(path, "");
    h.chooser.Choose(added);
    h.Click(IDC_ADD);
    h.Click(IDC_SAVE);
    EXPECT_EQ(ReadBytes(file), CrLf(kThreeTracks) + CrLf(added));
    EXPECT_EQ(h.Items(IDC_TRACK_LIST), (QStringList{"a", "b", "c", "new1", "new2"}));

    // With an empty list nothing is written, and the file's tracks come back.
    h.Click(IDC_REMOVE_ALL);
    h.Click(IDC_SAVE);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST).size(), 5);
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
    h.Click(IDC_SAVE);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].text, QString::fromUtf8(kNoPlaylistToSaveText));
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(h.folder.Pl()), {}), 1);

    PlayerHarness g;
    const std::string file = AddPlaylist(g.folder, "one", kThreeTracks);
    g.Open();
    FailingFileSystem fs;
    fs.FailEvery(FailingFileSystem::Op::Open, "one.plt");
    g.Click(IDC_SAVE);
    ASSERT_EQ(g.messages.shown.size(), 1u);
    EXPECT_EQ(g.messages.shown[0].text, QString::fromUtf8(kTracksNotWrittenText));
    EXPECT_EQ(ReadBytes(file), CrLf(kThreeTracks));
}
