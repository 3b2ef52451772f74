#include "desktop/desktop_doors.h"

#include "desktop/command_line.h"
#include "desktop/mpris.h"
#include "desktop/track_drops.h"
#include "ui/player_dlg.h"

#include <QDBusConnection>
#include <QFileInfo>
#include <QTimer>

namespace {
// Whether the session has a bus: an address it was given, or the socket a
// systemd user session keeps. Without one, D-Bus would start a bus of its own
// for the player, which is not what running the player should do.
bool SessionBusThere()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}
} // namespace

DesktopDoors::DesktopDoors(CPlayerDlg& dlg, AudioEngine& engine, HandOverChooser& chooser,
                           const QStringList& arguments)
{
    new TrackDrops(dlg, chooser); // owned by dlg
    if (SessionBusThere()) {
        m_mpris = std::make_unique<MprisPlayer>(dlg, engine, chooser, QDBusConnection::sessionBus());
    }
    QTimer::singleShot(0, &dlg, [&dlg, &chooser, files = CommandLineFiles(arguments)]() mutable {
        OpenFiles(dlg, chooser, std::move(files));
    });
}

DesktopDoors::~DesktopDoors() = default;
