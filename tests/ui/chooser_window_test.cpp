// The main window run as the application runs it, with the real file chooser:
// the window stays usable while the chooser is open.

#include "player_harness.h"
#include "platform/qt_file_chooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

int VisibleChoosers()
{
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QFileDialog*>(window) && window->isVisible()) ++count;
    }
    return count;
}

TEST(ChooserWindow, MainWindowTakesClicksAndTicksWhileTheChooserIsOpen)
{
    PlayerHarness harness;
    const std::string dir = harness.folder.Path();
    WriteBytes(harness.folder.Pl("PLT.plt"), harness.folder.Pl("Rock.plt") + "*Rock\r\n");
    WriteBytes(harness.folder.Pl("Rock.plt"), "/music/one.mp3\r\n");
    WriteBytes(dir + "a.mp3", "");
    QtFileChooser chooser;
    CPlayerDlg dlg(PlayerPlatform{harness.model, chooser, harness.messages});
    auto* status = FindControlAs<QLineEdit>(&dlg, IDC_STATUS);

    // A real click through the window system, which a modal window would hold back.
    auto press = [&](int id) {
        QWidget* button = FindControl(&dlg, id);
        QTest::mouseClick(dlg.windowHandle(), Qt::LeftButton, {},
                          button->mapTo(&dlg, button->rect().center()));
    };
    bool chooserSeen = false;
    QTimer::singleShot(0, &dlg, [&] {
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        press(IDC_PLAY); // Play: the first track plays and the timer ticks
        WhenChooserOpens([&](QFileDialog* open) {
            chooserSeen = true;
            const int ticks = harness.engine.Count("AudioGetData");
            QTest::qWait(250);
            EXPECT_GT(harness.engine.Count("AudioGetData"), ticks) << "the timer ticks on";
            press(IDC_STOP);
            EXPECT_EQ(status->text(), "Остановлено");

            // A second Open brings the open chooser forward and opens no other.
            press(IDC_OPEN);
            EXPECT_EQ(VisibleChoosers(), 1);
            EXPECT_TRUE(open->isVisible());

            ShowChooserFolder(open, dir);
            TypeInChooser(open, QStringLiteral("a.mp3"));
        });
        press(IDC_OPEN); // Open: returns once the chooser has answered

        EXPECT_EQ(VisibleChoosers(), 0);
        auto* tracks = FindControlAs<QListWidget>(&dlg, IDC_TRACK_LIST);
        ASSERT_EQ(tracks->count(), 1);
        EXPECT_EQ(tracks->item(0)->text(), "a");
        EXPECT_EQ(harness.engine.Count("AudioStreamCreateFile " + dir + "a.mp3"), 1);
        EXPECT_EQ(status->text(), "Играю");
        QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    dlg.DoModal(); // returns once Escape closed the window
    EXPECT_TRUE(chooserSeen);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(ChooserWindow, ClosingTheWindowCancelsTheOpenChooser)
{
    PlayerHarness harness;
    QtFileChooser chooser;
    CPlayerDlg dlg(PlayerPlatform{harness.model, chooser, harness.messages});
    QTimer::singleShot(0, &dlg, [&] {
        WhenChooserOpens([&](QFileDialog* open) {
            dlg.close();
            // Only a chooser that outlived the window sees this.
            QTimer::singleShot(1000, open, [open] {
                ADD_FAILURE() << "the chooser stayed open";
                open->reject();
            });
        });
        FindControlAs<QPushButton>(&dlg, IDC_OPEN)->click(); // returns once the chooser is gone
        EXPECT_EQ(VisibleChoosers(), 0);
    });
    dlg.DoModal();
    EXPECT_EQ(harness.engine.Count("AudioStop"), 0) << "Open went no further than the chooser";
}

} // namespace
