#pragma once
// One player per session: the running player owns the desktop entry's name on
// the session bus and answers org.freedesktop.Application there, and a second
// launch hands it its files instead of starting another player.
//
// Threads: user-interface thread; Qt delivers the bus's calls there.

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

class PlaybackModel;
class QWidget;

class PlayerService final : public QObject {
    Q_OBJECT
public:
    // Takes the name on bus; while another process holds it, Registered() is
    // false and this player answers nothing. model and window must outlive it.
    PlayerService(PlaybackModel& model, QWidget& window, QDBusConnection bus);
    ~PlayerService() override;
    bool Registered() const { return m_registered; }

    // Raises the window.
    void Activate();
    // Opens the file: URIs (files or folders) as "Открыть" opens chosen files,
    // after the call has been answered, and raises the window.
    void Open(const QStringList& uris);

private:
    PlaybackModel& m_model;
    QWidget& m_window;
    QDBusConnection m_bus;
    bool m_registered = false;
};

// org.freedesktop.Application, the desktop's own interface for this.
class ApplicationAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    explicit ApplicationAdaptor(PlayerService* service)
        : QDBusAbstractAdaptor(service), m_service(service) { }

public slots:
    void Activate(const QVariantMap& /*platformData*/) { m_service->Activate(); }
    void Open(const QStringList& uris, const QVariantMap& /*platformData*/) { m_service->Open(uris); }
    // The player has no actions of its own.
    void ActivateAction(const QString&, const QVariantList&, const QVariantMap&) { }

private:
    PlayerService* m_service;
};

// A second launch: when a player already runs in this session, hands it the
// files among arguments (or asks it to come to the front when there are none)
// and returns true; the caller then exits. False without a session bus, when
// no player answers within a few seconds, or when it refuses: the caller then
// starts as a player itself, so nothing is lost.
bool HandOverToRunningPlayer(const QStringList& arguments);
