#include "ui/player_dlg.h"

#include "playback/playback_model.h"
#include "ui/about_dlg.h"
#include "ui/app_icon.h"
#include "ui/dialog_template.h"
#include "ui/player_routes.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSlider>

CPlayerDlg::CPlayerDlg(PlayerPlatform platform, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                  Qt::WindowCloseButtonHint),
      m_platform(platform), m_hIcon(AppIcon())
{
    BuildDialog(this, kPlayerTemplate);
    OnInitDialog();
}

CPlayerDlg::~CPlayerDlg() = default;

int CPlayerDlg::DoModal()
{
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, [this, &loop] {
        // A chooser still open has no owner to close with the window: it is
        // cancelled here, so that the handler waiting on it returns.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != this && window->isVisible()) window->close();
        }
        loop.quit();
    });
    show();
    loop.exec();
    return result();
}

void CPlayerDlg::OnInitDialog()
{
    m_status = FindControlAs<QLineEdit>(this, IDC_STATUS);
    m_position = FindControlAs<QSlider>(this, IDC_POSITION);
    m_meter[0] = FindControlAs<QLineEdit>(this, IDC_METER_FIRST);
    m_meter[1] = FindControlAs<QLineEdit>(this, IDC_METER_SECOND);
    m_meter[2] = FindControlAs<QLineEdit>(this, IDC_METER_THIRD);
    m_trackList = FindControlAs<QListWidget>(this, IDC_TRACK_LIST);
    m_playlistList = FindControlAs<QListWidget>(this, IDC_PLAYLIST_LIST);
    m_volume = FindControlAs<QSlider>(this, IDC_VOLUME);
    ConnectRoutes();
    ConnectModel();

    LoadCatalogue();
    setWindowIcon(m_hIcon);
}

void CPlayerDlg::ConnectRoutes()
{
    const auto plain = [this](const Route& route) {
        return [this, h = std::get<PlainHandler>(route.handler)] { (this->*h)(); };
    };
    for (const Route& route : PlayerRoutes()) {
        QWidget* control = route.control ? FindControl(this, route.control) : nullptr;
        switch (route.event) {
        case RouteEvent::SystemCommand:
            m_systemCommandRoute = std::get<SystemCommandHandler>(route.handler);
            break;
        case RouteEvent::TimerTick:
            m_timerRoute = std::get<TimerHandler>(route.handler);
            connect(&m_platform.model, &PlaybackModel::TimerTick, this,
                    [this](unsigned id) { (this->*m_timerRoute)(id); });
            break;
        case RouteEvent::Paint:
        case RouteEvent::DragIconQuery:
            // Painting and the icon are asked of the window by Qt itself.
            break;
        case RouteEvent::Click:
            connect(qobject_cast<QPushButton*>(control), &QPushButton::clicked, this, plain(route));
            break;
        case RouteEvent::DoubleClick:
            connect(qobject_cast<QListWidget*>(control), &QListWidget::itemDoubleClicked, this, plain(route));
            break;
        case RouteEvent::SelectionChange:
            connect(qobject_cast<QListWidget*>(control), &QListWidget::itemSelectionChanged, this,
                    plain(route));
            break;
        case RouteEvent::CustomDraw:
            // Every move of the slider, by the user or by the program, repaints it.
            connect(qobject_cast<QSlider*>(control), &QSlider::valueChanged, this,
                    [this, h = std::get<DrawHandler>(route.handler)] {
                        LRESULT result = 0;
                        (this->*h)(nullptr, &result);
                    });
            break;
        }
    }
}

void CPlayerDlg::OnSysCommand(unsigned id, long /*param*/)
{
    // The window manager moves, minimises and closes the window itself: only the
    // About item of the window's menu sends a command here.
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.exec();
    }
}

QIcon CPlayerDlg::OnQueryDragIcon() const { return m_hIcon; }

void CPlayerDlg::AppendSystemMenu(QMenu& menu)
{
    menu.setSeparatorsCollapsible(false);
    menu.addSeparator();
    QAction* about = menu.addAction(QString::fromUtf8(kAboutMenuText));
    connect(about, &QAction::triggered, this,
            [this, route = m_systemCommandRoute] { (this->*route)(IDM_ABOUTBOX, 0); });
}

bool CPlayerDlg::PlaybackTimerRunning() const { return m_platform.model.TimerRunning(); }

void CPlayerDlg::SelectRow(QListWidget* list, int row)
{
    const QSignalBlocker quiet(list);
    if (row >= 0 && row < list->count()) {
        list->setCurrentRow(row);
    } else {
        list->clearSelection();
    }
}

int CPlayerDlg::FirstSelectedRow(const QListWidget* list, int count)
{
    for (int i = 0; i < count; ++i) {
        const QListWidgetItem* item = list->item(i);
        if (item && item->isSelected()) return i;
    }
    return -1;
}

void CPlayerDlg::paintEvent(QPaintEvent* event)
{
    if (!isMinimized()) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QSize iconSize(32, 32);
    painter.drawPixmap(IconOrigin(width(), height(), iconSize.width(), iconSize.height()),
                       m_hIcon.pixmap(iconSize));
}

void CPlayerDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    AppendSystemMenu(menu);
    menu.exec(event->globalPos());
}
