// Track records' shown names and the track list that shows them.

#include "player_harness.h"
#include "playlists/tables.h"

#include <QListWidget>
#include <gtest/gtest.h>

using namespace lirvan;

namespace {

std::string NameOf(std::string_view path)
{
    s_simple record;
    record.SetFromPath(path);
    EXPECT_EQ(record.path, path);
    return record.name;
}

TEST(SetFromPath, NameIsTheTextBetweenTheLastDotAndTheFolderBeforeIt)
{
    EXPECT_EQ(NameOf("/Music/song.mp3"), "song");
    EXPECT_EQ(NameOf("/Music/my.song.mp3"), "my.song");
    EXPECT_EQ(NameOf("/Music/README"), "");
    EXPECT_EQ(NameOf("/a.b/track"), "a") << "the last dot lies in a folder name";
    EXPECT_EQ(NameOf("song.mp3"), "song");
    EXPECT_EQ(NameOf(""), "");
    EXPECT_EQ(NameOf("/Music/.hidden"), "");
    EXPECT_EQ(NameOf("C:\\Music\\song.mp3"), "C:\\Music\\song") << "a backslash is an ordinary character";
}

TEST(SetFromPath, KeepsUtf8NamesAndLongPathsWhole)
{
    EXPECT_EQ(NameOf("/Музыка/Кино — Группа крови.mp3"), "Кино — Группа крови");
    EXPECT_EQ(NameOf("/音楽/曲.flac"), "曲");
    const std::string longFolder = "/" + std::string(300, 'd') + "/";
    EXPECT_EQ(NameOf(longFolder + "long.wav"), "long");
}

class TrackList : public ::testing::Test {
protected:
    void SetUp() override
    {
        harness.Open();
        list = harness.Control<QListWidget>(IDC_TRACK_LIST);
        QObject::connect(list, &QListWidget::itemSelectionChanged, [this] { ++notifications; });
        for (int i = 0; i < 4; ++i) TrackTable[i].SetFromPath("/m/track" + std::to_string(i) + ".mp3");
    }
    void Refresh(int used, int current)
    {
        trackSlots = used;
        currentTrack = current;
        harness.Model().RefreshTrackList();
    }
    PlayerHarness harness;
    QListWidget* list = nullptr;
    int notifications = 0;
};

TEST_F(TrackList, ListsEveryTrackButTheTrailingRecord)
{
    Refresh(0, 0);
    EXPECT_TRUE(harness.Items(IDC_TRACK_LIST).isEmpty());
    Refresh(1, 0);
    EXPECT_TRUE(harness.Items(IDC_TRACK_LIST).isEmpty());
    Refresh(4, 1);
    EXPECT_EQ(harness.Items(IDC_TRACK_LIST), QStringList({"track0", "track1", "track2"}));
    EXPECT_EQ(harness.SelectedRow(IDC_TRACK_LIST), 1);
    EXPECT_EQ(notifications, 0) << "a selection made by the program sends no notification";
}

TEST_F(TrackList, SelectsNothingWhenTheCurrentTrackIsNotListed)
{
    Refresh(4, 1);
    Refresh(4, -1);
    EXPECT_EQ(harness.Items(IDC_TRACK_LIST).size(), 3);
    EXPECT_EQ(harness.SelectedRow(IDC_TRACK_LIST), -1);
    Refresh(4, 3);
    EXPECT_EQ(harness.SelectedRow(IDC_TRACK_LIST), -1);
    Refresh(4, 250);
    EXPECT_EQ(harness.SelectedRow(IDC_TRACK_LIST), -1);
}

} // namespace
