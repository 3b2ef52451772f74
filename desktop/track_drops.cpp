#include "desktop/track_drops.h"

#include "desktop/file_urls.h"
#include "desktop/track_paths.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

TrackDrops::TrackDrops(QWidget& window, QAbstractScrollArea& trackList, PlaybackModel& model)
    : QObject(&window), m_model(model), m_trackList(trackList.viewport())
{
    // Drops on a list reach its viewport, the rest of the window the window.
    trackList.viewport()->setAcceptDrops(true);
    window.setAcceptDrops(true);
    trackList.viewport()->installEventFilter(this);
    window.installEventFilter(this);
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
            AddPaths(m_model, files);
        } else {
            OpenPaths(m_model, files);
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
        std::string path = LocalPathOf(url);
        if (!path.empty()) files.push_back(std::move(path));
    }
    return files;
}
