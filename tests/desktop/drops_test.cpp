// Files dropped on the track list are added; dropped elsewhere they open; a
// dropped list stands for its tracks.

#include "desktop/track_drops.h"
#include "desktop_window.h"
#include "playlists/tables.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

// Drags files over target and drops them there, through Qt's own events; true
// when the drop was accepted.
bool DropOn(QWidget* target, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

QUrl Url(const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); }

class DropsTest : public ::testing::Test {
protected:
    DropsTest() { new TrackDrops(*w.dlg, *w.dlg->TrackList(), w.model); }
    QWidget* TrackList() { return FindControlAs<QListWidget>(w.dlg.get(), IDC_TRACK_LIST)->viewport(); }
    DesktopWindow w;
};

TEST_F(DropsTest, DropOnTrackListAddsWithoutInterruptingPlayback)
{
    ASSERT_TRUE(DropOn(w.dlg.get(), {Url(w.File("a.mp3"))}));
    ASSERT_TRUE(DropOn(TrackList(), {Url(w.File("b.mp3")), Url(w.File("c.mp3"))}));

    EXPECT_EQ(w.Tracks(), QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(w.engine.Count("AudioStreamCreateFile"), 1);
    EXPECT_EQ(w.Status(), QStringLiteral("Играю"));
}

TEST_F(DropsTest, DropElsewhereOpensAndTheFirstPlays)
{
    ASSERT_TRUE(DropOn(TrackList(), {Url(w.File("a.mp3"))}));
    ASSERT_TRUE(DropOn(w.dlg.get(), {Url(w.File("b.mp3")), Url(w.File("c.mp3"))}));

    EXPECT_EQ(w.Tracks(), QStringList({QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(w.engine.CallsOf("AudioStreamCreateFile"),
              std::vector<std::string>{"AudioStreamCreateFile " + w.folder.Path() + "b.mp3"});
    // What is not a local file is not taken.
    EXPECT_FALSE(DropOn(w.dlg.get(), {QUrl(QStringLiteral("https://example.org/x.mp3"))}));
    EXPECT_EQ(w.Tracks().size(), 2);
    EXPECT_EQ(w.userChooser.shown, 0);
}

} // namespace

TEST_F(DropsTest, DroppedListAddsItsTracksAndLongPathsStayWhole)
{
    std::string deep = w.folder.Path();
    for (int i = 0; i < 7; ++i) deep += "Очень длинное название папки с музыкой " + std::to_string(i) + "/";
    std::filesystem::create_directories(deep);
    const std::string longPath = w.File(deep.substr(w.folder.Path().size()) + "Песня.mp3");
    const std::string a = w.File("a.mp3");
    // A Windows-1251 .m3u naming "Б.mp3" beside it.
    const std::string b = w.File("Б.mp3");
    WriteBytes(w.folder.Path() + "list.m3u", "#EXTM3U\r\n\xC1.mp3\r\n");
    ASSERT_TRUE(DropOn(w.dlg.get(), {Url(a)}));
    ASSERT_TRUE(DropOn(TrackList(), {Url(w.folder.Path() + "list.m3u"), Url(longPath)}));

    EXPECT_EQ(w.Tracks(), QStringList({QStringLiteral("a"), QStringLiteral("Б"), QStringLiteral("Песня")}));
    EXPECT_EQ(lirvan::TrackTable[1].path, b);
    EXPECT_EQ(lirvan::TrackTable[2].path, longPath);
}
