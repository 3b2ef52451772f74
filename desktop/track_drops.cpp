#include "desktop/track_drops.h"

#include "desktop/command_line.h"
#include "ui/dialog_template.h"
#include "ui/player_dlg.h"

#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QUrl>

TrackDrops::TrackDrops(CPlayerDlg& dlg, HandOverChooser& chooser)
    : QObject(&dlg), m_dlg(dlg), m_chooser(chooser)
{
    auto* list = FindControlAs<QListWidget>(&dlg, IDC_TRACK_LIST);
    // Drops on a list reach its viewport, the rest of the window the window.
    m_trackList = list->viewport();
    list->viewport()->setAcceptDrops(true);
    dlg.setAcceptDrops(true);
    list->viewport()->installEventFilter(this);
    dlg.installEventFilter(this);
}

bool TrackDrops::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DroppedFiles(drag->mimeData()).empty()) return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        std::vector<std::string> files = DroppedFiles(drop->mimeData());
        if (files.empty()) return false;
        drop->acceptProposedAction();
        if (watched == m_trackList) {
            AddFiles(m_dlg, m_chooser, std::move(files));
        } else {
            OpenFiles(m_dlg, m_chooser, std::move(files));
        }
        return true;
    }
    default: return false;
    }
}

std::vector<std::string> DroppedFiles(const QMimeData* data)
{
    std::vector<std::string> files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return files;
}
