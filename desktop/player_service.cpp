#include "desktop/player_service.h"

#include "desktop/desktop_entry.h"
#include "desktop/file_urls.h"
#include "desktop/mpris.h"
#include "desktop/session_bus.h"
#include "desktop/track_paths.h"

#include <QDBusMessage>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

const QString kServiceName = QString::fromLatin1(kDesktopEntry);
// The object path of org.freedesktop.Application: the name with "/" for ".".
const QString kObjectPath =
    QStringLiteral("/") + QString(kServiceName).replace(QLatin1Char('.'), QLatin1Char('/'));
const QString kInterface = QStringLiteral("org.freedesktop.Application");
// A running player answers at once; one that does not within this long is
// taken as busy or gone, and the second launch starts on its own.
constexpr int kHandOverTimeoutMs = 3000;

} // namespace

PlayerService::PlayerService(PlaybackModel& model, QWidget& window, QDBusConnection bus)
    : m_model(model), m_window(window), m_bus(std::move(bus))
{
    new ApplicationAdaptor(this);
    if (!m_bus.isConnected() || !m_bus.registerObject(kObjectPath, this)) return;
    m_registered = m_bus.registerService(kServiceName);
    if (!m_registered) m_bus.unregisterObject(kObjectPath);
}

PlayerService::~PlayerService()
{
    if (!m_registered) return;
    m_bus.unregisterService(kServiceName);
    m_bus.unregisterObject(kObjectPath);
}

void PlayerService::Activate() { RaiseWindow(m_window); }

void PlayerService::Open(const QStringList& uris)
{
    std::vector<std::string> paths;
    for (const QString& uri : uris) {
        std::string path = LocalPathOf(QUrl(uri));
        if (!path.empty()) paths.push_back(std::move(path));
    }
    // The caller waits for the answer: it goes first, the playing after.
    QTimer::singleShot(0, this, [this, paths = std::move(paths)] {
        OpenPaths(m_model, paths);
        RaiseWindow(m_window);
    });
}

bool HandOverToRunningPlayer(const QStringList& arguments)
{
    if (!SessionBusThere()) return false;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    const std::vector<std::string> files = CommandLineFiles(arguments);
    QDBusMessage call;
    if (files.empty()) {
        call =
            QDBusMessage::createMethodCall(kServiceName, kObjectPath, kInterface, QStringLiteral("Activate"));
        call << QVariantMap();
    } else {
        QStringList uris;
        for (const std::string& file : files) uris << FileUrlOf(file);
        call = QDBusMessage::createMethodCall(kServiceName, kObjectPath, kInterface, QStringLiteral("Open"));
        call << uris << QVariantMap();
    }
    // Nothing is to be started for the call: only a player that runs may answer.
    call.setAutoStartService(false);
    return bus.call(call, QDBus::Block, kHandOverTimeoutMs).type() == QDBusMessage::ReplyMessage;
}
