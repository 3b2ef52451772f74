// Files dropped on the track list are added; dropped elsewhere they open.

#include "desktop/track_drops.h"
#include "desktop_window.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
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
