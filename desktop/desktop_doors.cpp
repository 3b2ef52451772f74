#include "desktop/desktop_doors.h"

#include "desktop/mpris.h"
#include "desktop/player_service.h"
#include "desktop/session_bus.h"
#include "desktop/track_drops.h"
#include "desktop/track_paths.h"

#include <QDBusConnection>
#include <QTimer>
#include <QWidget>

DesktopDoors::DesktopDoors(PlaybackModel& model, QWidget& window, QAbstractScrollArea& trackList,
                           const QStringList& arguments)
{
    new TrackDrops(window, trackList, model); // owned by window
    if (SessionBusThere()) {
        m_mpris = std::make_unique<MprisPlayer>(model, window, QDBusConnection::sessionBus());
        m_service = std::make_unique<PlayerService>(model, window, QDBusConnection::sessionBus());
    }
    QTimer::singleShot(0, &window,
                       [&model, files = CommandLineFiles(arguments)] { OpenPaths(model, files); });
}

DesktopDoors::~DesktopDoors() = default;
