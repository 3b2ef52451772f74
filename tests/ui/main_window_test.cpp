// The main window as the user first sees it: its controls, the About box, closing.

#include "player_harness.h"
#include "ui/app_icon.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct ExpectedControl {
    int id;
    const char* className;
    const char* caption;
};

const ExpectedControl kControls[] = {
    {IDC_PAUSE, "QPushButton", "Пауза"},
    {IDC_STATUS, "QLineEdit", ""},
    {IDC_OPEN, "QPushButton", "Открыть"},
    {IDC_PLAY, "QPushButton", "Играть"},
    {IDC_STOP, "QPushButton", "Стоп"},
    {IDC_ADD, "QPushButton", "Добавить"},
    {IDC_REMOVE_ALL, "QPushButton", "Удалить все"},
    {IDC_POSITION, "QSlider", ""},
    {IDC_REMOVE_TRACK, "QPushButton", "Удалить"},
    {IDC_METER_THIRD, "QLineEdit", ""},
    {IDC_METER_SECOND, "QLineEdit", ""},
    {IDC_METER_FIRST, "QLineEdit", ""},
    {IDC_TRACK_LIST, "QListWidget", ""},
    {IDC_PLAYLIST_LIST, "QListWidget", ""},
    {IDC_CREATE_PLAYLIST, "QPushButton", "Создать"},
    {IDC_VOLUME, "QSlider", ""},
    {IDC_DELETE_PLAYLIST, "QPushButton", "Удалить"},
    {IDC_SAVE, "QPushButton", "Сохранить"},
};

QString Caption(QWidget* control)
{
    if (auto* button = qobject_cast<QPushButton*>(control)) return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
    return {};
}

// Opens whatever modal window appears while call runs, records its title and
// closes it; returns the titles seen.
QStringList ModalTitlesDuring(const std::function<void()>& call)
{
    QStringList titles;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            titles << modal->windowTitle();
            modal->close();
        }
    });
    poll.start();
    call();
    return titles;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { harness.Open(); }
    PlayerHarness harness;
};

TEST_F(MainWindow, HasEveryControlWithItsKindCaptionAndStartingState)
{
    CPlayerDlg& dlg = harness.Dlg();
    EXPECT_EQ(dlg.windowTitle(), "Лирван");
    for (const ExpectedControl& expected : kControls) {
        SCOPED_TRACE(expected.id);
        QWidget* control = FindControl(&dlg, expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_STREQ(control->metaObject()->className(), expected.className);
        EXPECT_EQ(Caption(control), QString::fromUtf8(expected.caption));
        // A focused push button is drawn as the default one; no other is.
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            EXPECT_TRUE(!button->isDefault() || button == dlg.focusWidget());
        }
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            EXPECT_FALSE(edit->isReadOnly());
        }
        if (auto* slider = qobject_cast<QSlider*>(control)) {
            EXPECT_EQ(slider->minimum(), 0);
            EXPECT_EQ(slider->maximum(), 100);
            EXPECT_EQ(slider->value(), 0);
        }
    }
    auto* volume = harness.Control<QSlider>(IDC_VOLUME);
    EXPECT_EQ(volume->orientation(), Qt::Vertical);
    EXPECT_TRUE(volume->invertedAppearance()) << "0, full volume, stands at the top";
    EXPECT_EQ(harness.Control<QSlider>(IDC_POSITION)->orientation(), Qt::Horizontal);

    QStringList labels, groups;
    for (auto* label : dlg.findChildren<QLabel*>()) labels << label->text();
    for (auto* group : dlg.findChildren<QGroupBox*>()) groups << group->title();
    EXPECT_TRUE(labels.contains("громк.") && labels.contains("тихо")) << labels.join(",").toStdString();
    EXPECT_EQ(groups, QStringList({"Плейлист", "Плейлист"}));
    EXPECT_EQ(harness.Text(IDC_STATUS), "");
    EXPECT_FALSE(dlg.PlaybackTimerRunning()) << "no tick before the first Play or Open";
}

TEST_F(MainWindow, ControlsStandWhereTheTemplatePutsThem)
{
    CPlayerDlg& dlg = harness.Dlg();
    auto rect = [&](int id) { return FindControl(&dlg, id)->geometry(); };
    const QRect client = dlg.rect();
    for (const ExpectedControl& expected : kControls) {
        EXPECT_TRUE(client.contains(rect(expected.id))) << expected.id;
    }
    // The transport row: Play, Pause, Stop from left to right on one line.
    EXPECT_LT(rect(IDC_PLAY).right(), rect(IDC_PAUSE).left());
    EXPECT_LT(rect(IDC_PAUSE).right(), rect(IDC_STOP).left());
    EXPECT_EQ(rect(IDC_PLAY).top(), rect(IDC_STOP).top());
    // The meter boxes stand top to bottom as bands 1, 2, 3 under the status box.
    EXPECT_LT(rect(IDC_STATUS).bottom(), rect(IDC_METER_FIRST).top());
    EXPECT_LT(rect(IDC_METER_FIRST).bottom(), rect(IDC_METER_SECOND).top());
    EXPECT_LT(rect(IDC_METER_SECOND).bottom(), rect(IDC_METER_THIRD).top());
    // Playlist list left of the track list; the position slider under everything.
    EXPECT_LT(rect(IDC_PLAYLIST_LIST).right(), rect(IDC_TRACK_LIST).left());
    EXPECT_GT(rect(IDC_POSITION).top(), rect(IDC_REMOVE_ALL).bottom());
    // Each group box frames its buttons, and no two controls of the window overlap.
    auto groupBoxes = dlg.findChildren<QGroupBox*>();
    ASSERT_EQ(groupBoxes.size(), 2);
    std::sort(groupBoxes.begin(), groupBoxes.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    for (int id : {IDC_CREATE_PLAYLIST, IDC_DELETE_PLAYLIST, IDC_SAVE})
        EXPECT_TRUE(groupBoxes[0]->geometry().contains(rect(id))) << id;
    for (int id : {IDC_OPEN, IDC_ADD, IDC_REMOVE_ALL, IDC_REMOVE_TRACK})
        EXPECT_TRUE(groupBoxes[1]->geometry().contains(rect(id))) << id;
    for (const ExpectedControl& a : kControls) {
        for (const ExpectedControl& b : kControls) {
            if (a.id < b.id) {
                EXPECT_FALSE(rect(a.id).intersects(rect(b.id))) << a.id << " " << b.id;
            }
        }
    }
    // A click on a framed button reaches the button, not the frame above it.
    auto* create = harness.Control<QPushButton>(IDC_CREATE_PLAYLIST);
    EXPECT_EQ(dlg.childAt(create->geometry().center()), create);
}

TEST_F(MainWindow, WindowMenuEndsWithSeparatorAndAboutItem)
{
    QMenu menu;
    menu.addAction("Закрыть");
    harness.Dlg().AppendSystemMenu(menu);
    const auto actions = menu.actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), "&About lirvan1...");
    EXPECT_EQ(ModalTitlesDuring([&] { actions[2]->trigger(); }), QStringList{"About Лирван"});
}

TEST_F(MainWindow, AboutBoxShowsVersionAndClosesWithOkOrEscape)
{
    QStringList texts;
    bool okIsDefault = false;
    WhenModalOpens([&](QWidget* about) {
        for (auto* label : about->findChildren<QLabel*>()) texts << label->text();
        auto* ok = FindControlAs<QPushButton>(about, 1);
        okIsDefault = ok && ok->isDefault() && ok->text() == "OK";
        if (ok) ok->click();
    });
    harness.Dlg().OnSysCommand(16, 0);
    EXPECT_TRUE(texts.contains("Лирван Version 1.1")) << texts.join("|").toStdString();
    EXPECT_TRUE(okIsDefault);

    WhenModalOpens([](QWidget* about) { QTest::keyClick(about, Qt::Key_Escape); });
    harness.Dlg().OnSysCommand(16, 0); // returns only once Escape closed it
}

TEST_F(MainWindow, TabReachesEveryControlInTemplateOrderAndSpacePressesAButton)
{
    CPlayerDlg& dlg = harness.Dlg();
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    harness.Control<QWidget>(IDC_PAUSE)->setFocus();
    QList<int> reached;
    for (int press = 0; press < 19; ++press) {
        reached << ControlId(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const QList<int> templateOrder = {IDC_PAUSE,         IDC_STATUS,
                                      IDC_OPEN,          IDC_PLAY,
                                      IDC_STOP,          IDC_POSITION,
                                      IDC_METER_SECOND,  IDC_METER_FIRST,
                                      IDC_METER_THIRD,   IDC_TRACK_LIST,
                                      IDC_PLAYLIST_LIST, IDC_CREATE_PLAYLIST,
                                      IDC_VOLUME,        IDC_DELETE_PLAYLIST,
                                      IDC_ADD,           IDC_REMOVE_ALL,
                                      IDC_REMOVE_TRACK,  IDC_SAVE,
                                      IDC_PAUSE}; // and round again
    EXPECT_EQ(reached, templateOrder);

    auto* play = harness.Control<QPushButton>(IDC_PLAY);
    play->setFocus();
    QTest::keyClick(play, Qt::Key_Space);
    EXPECT_EQ(harness.engine.Count("AudioPlay"), 1);
}

TEST_F(MainWindow, EscapeOrEnterOutsideAButtonClosesTheWindow)
{
    CPlayerDlg& dlg = harness.Dlg();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());

    dlg.show();
    harness.Control<QListWidget>(IDC_TRACK_LIST)->setFocus();
    QTest::keyClick(harness.Control<QListWidget>(IDC_TRACK_LIST), Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible());

    dlg.show();
    auto* pause = harness.Control<QPushButton>(IDC_PAUSE);
    int clicks = 0;
    QObject::connect(pause, &QPushButton::clicked, [&] { ++clicks; });
    pause->setFocus();
    QTest::keyClick(pause, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible()) << "Enter on a push button presses it";
    EXPECT_EQ(clicks, 1);
}

TEST(AppIcon, ComesInSeveralSizesAndCentresWhenMinimised)
{
    EXPECT_GE(AppIcon().availableSizes().size(), 4);
    EXPECT_EQ(IconOrigin(33, 32, 32, 32), QPoint(1, 0));
    EXPECT_EQ(IconOrigin(100, 50, 32, 32), QPoint(34, 9));
    // A client smaller than the icon: the division truncates toward zero.
    EXPECT_EQ(IconOrigin(10, 0, 32, 32), QPoint(-10, -15));
}

} // namespace
