#include "player_harness.h"

#include "playback/level_meter.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
    m_dlg = std::make_unique<CPlayerDlg>(PlayerPlatform{engine, chooser, messages});
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
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
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

void WhenModalOpens(std::function<void(QWidget*)> action)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start();
}
