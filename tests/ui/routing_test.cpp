// Every row of the routing table reaches its handler from the real control.

#include "player_harness.h"
#include "playlists/tables.h"

#include <QApplication>
#include <QListWidget>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace lirvan;

namespace {

class Routing : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string rock = harness.folder.Pl("Rock.plt");
        const std::string jazz = harness.folder.Pl("Jazz.plt");
        WriteBytes(harness.folder.Pl("PLT.plt"), rock + "*Rock\r\n" + jazz + "*Jazz\r\n");
        WriteBytes(rock, "/music/one.mp3\r\n/music/two.mp3\r\n");
        WriteBytes(jazz, "/music/three.mp3\r\n");
        harness.chooser.answer = 0; // every chooser is cancelled
        harness.messages.answer = IDCANCEL;
        harness.Open();
    }
    PlayerHarness harness;
};

TEST_F(Routing, TransportButtonsAndSlidersReachTheirHandlers)
{
    harness.Click(IDC_PLAY);
    EXPECT_EQ(harness.engine.Count("AudioPlay"), 1);
    EXPECT_TRUE(harness.Dlg().PlaybackTimerRunning());
    harness.Click(IDC_PAUSE);
    EXPECT_EQ(harness.engine.Count("AudioPause"), 1);
    harness.Click(IDC_STOP);
    EXPECT_EQ(harness.engine.Count("AudioStop"), 1);

    harness.engine.initialised = true; // so the volume handler sets the volume
    harness.Control<QSlider>(IDC_VOLUME)->setValue(40);
    EXPECT_EQ(harness.engine.CallsOf("AudioSetVolume").back(), "AudioSetVolume 60");
    harness.Control<QSlider>(IDC_POSITION)->setValue(30);
    EXPECT_EQ(harness.engine.Count("AudioSetPosition"), 1);
}

TEST_F(Routing, TimerTicksReachOnTimer)
{
    harness.Click(IDC_PLAY);
    EXPECT_TRUE(QTest::qWaitFor([&] { return harness.engine.Count("AudioGetData") >= 1; }));
}

TEST_F(Routing, ChoosingButtonsAndDoubleClickReachTheirHandlers)
{
    harness.Click(IDC_OPEN);
    harness.Click(IDC_ADD);
    EXPECT_EQ(harness.chooser.shown, 2);

    ASSERT_EQ(harness.Items(IDC_TRACK_LIST).size(), 2);
    harness.DoubleClickRow(IDC_TRACK_LIST, 1);
    EXPECT_EQ(harness.engine.Count("AudioStreamCreateFile /music/two.mp3"), 1);
}

TEST_F(Routing, PlaylistControlsReachTheirHandlers)
{
    harness.UserSelectRow(IDC_PLAYLIST_LIST, 1);
    EXPECT_EQ(currentPlaylist, 1);
    EXPECT_EQ(harness.Items(IDC_TRACK_LIST), QStringList{"three"});

    QString dialogTitle;
    WhenModalOpens([&](QWidget* dialog) {
        dialogTitle = dialog->windowTitle();
        dialog->close();
    });
    harness.Click(IDC_CREATE_PLAYLIST);
    EXPECT_EQ(dialogTitle, "Создание плейлиста");

    harness.Click(IDC_DELETE_PLAYLIST);
    ASSERT_EQ(harness.messages.shown.size(), 1u);
    EXPECT_EQ(harness.messages.shown[0].caption, "Удаление");

    const std::string jazz = harness.folder.Pl("Jazz.plt");
    harness.Click(IDC_SAVE);
    EXPECT_EQ(ReadBytes(jazz), "/music/three.mp3\r\n/music/three.mp3\r\n");

    harness.UserSelectRow(IDC_TRACK_LIST, 0);
    harness.Click(IDC_REMOVE_TRACK);
    EXPECT_EQ(harness.Items(IDC_TRACK_LIST), QStringList{"three"});

    const int stopsBefore = harness.engine.Count("AudioStop");
    harness.Click(IDC_REMOVE_ALL);
    EXPECT_EQ(harness.engine.Count("AudioStop"), stopsBefore + 1);
    EXPECT_TRUE(harness.Items(IDC_TRACK_LIST).isEmpty());
}

} // namespace
