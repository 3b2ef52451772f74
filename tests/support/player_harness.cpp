#include "player_harness.h"

#include "playback/level_meter.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace lirvan;

void ResetPlayerState()
{
    ResetPlaylistTables();
    ResetTransportState();
    ResetMeterState();
}

PlayerHarness::PlayerHarness() { ResetPlayerState(); }

PlayerHarness::~PlayerHarness() = default;

CPlayerDlg& PlayerHarness::Open()
{
    m_dlg = std::make_unique<CPlayerDlg>(PlayerPlatform{model, chooser, messages});
    m_dlg->show();
    return *m_dlg;
}

void PlayerHarness::Click(int id) { Control<QPushButton>(id)->click(); }

void PlayerHarness::DoubleClickRow(int listId, int row)
{
    auto* list = Control<QListWidget>(listId);
    const QPoint at = list->visualItemRect(list->item(row)).center();
    // A double click is a click and then the second press.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void PlayerHarness::UserSelectRow(int listId, int row)
{
    auto* list = Control<QListWidget>(listId);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QStringList PlayerHarness::Items(int listId)
{
    QStringList items;
    auto* list = Control<QListWidget>(listId);
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

int PlayerHarness::SelectedRow(int listId)
{
    const auto selected = Control<QListWidget>(listId)->selectedItems();
    return selected.isEmpty() ? -1 : Control<QListWidget>(listId)->row(selected.first());
}

QString PlayerHarness::Text(int editId) { return Control<QLineEdit>(editId)->text(); }

namespace {

// Polls until find answers a window, then runs action on it once.
void WhenFound(std::function<QWidget*()> find, std::function<void(QWidget*)> action)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, find, action] {
        if (QWidget* window = find()) {
            poll->stop();
            poll->deleteLater();
            action(window);
        }
    });
    poll->start();
}

} // namespace

void WhenModalOpens(std::function<void(QWidget*)> action)
{
    WhenFound(&QApplication::activeModalWidget, std::move(action));
}

void WhenChooserOpens(std::function<void(QFileDialog*)> action)
{
    WhenFound(
        []() -> QWidget* {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (qobject_cast<QFileDialog*>(window) && window->isVisible()) return window;
            }
            return nullptr;
        },
        [action](QWidget* chooser) { action(static_cast<QFileDialog*>(chooser)); });
}

void ShowChooserFolder(QFileDialog* chooser, const std::string& folder)
{
    chooser->setDirectory(QString::fromStdString(folder));
    QTest::qWait(100); // the listing comes in the background
}

void TypeInChooser(QFileDialog* chooser, const QString& typed)
{
    auto* nameBox = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    // The user types into the active chooser; a name box without the focus would
    // have its text replaced by the names the dialog selects as it completes them.
    chooser->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(chooser));
    nameBox->setFocus();
    QTest::keyClicks(nameBox, typed);
    QTest::keyClick(nameBox, Qt::Key_Return);
}
