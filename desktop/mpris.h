#pragma once
// MPRIS on the D-Bus session bus, so media keys, the desktop's sound menu and
// playerctl control the player. A client of the playback model like the
// window: methods are the model's operations, properties its state, and the
// model's notifications become PropertiesChanged and Seeked.
//
// Threads: everything runs on the user-interface thread; Qt delivers the bus's
// calls there. Property changes are gathered until the event loop is next idle
// and sent as one PropertiesChanged; Seeked goes out at once. Nothing runs
// while nothing changes.
//
// Metadata is the track loaded last, taken from its record at the load, so an
// edit of the track table never renames the track heard; it goes out with the
// load, and its tags and cover, read off this thread, follow in one more
// PropertiesChanged with the whole map when they add anything.

#include "desktop/track_details.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

class MprisPlayerAdaptor;
class PlaybackModel;
class QWidget;

class MprisPlayer final : public QObject {
    Q_OBJECT
public:
    // Registers the player on bus as org.mpris.MediaPlayer2.lirvan1 (a second
    // instance adds ".instance<pid>"). model and window (which Raise raises and
    // Quit closes) must outlive it. Without a connected bus it stays silent and
    // Registered() is false.
    MprisPlayer(PlaybackModel& model, QWidget& window, QDBusConnection bus);
    ~MprisPlayer() override;
    bool Registered() const { return m_registered; }

    // org.mpris.MediaPlayer2
    void Raise();
    void Quit();
    // org.mpris.MediaPlayer2.Player: methods. Offsets and positions are in
    // microseconds; each does nothing where its Can* property is false.
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    // Before the start goes to 0; past the end acts as Next.
    void Seek(qint64 offset);
    // Only for the current track's id, and only within its length.
    void SetPosition(const QDBusObjectPath& trackId, qint64 position);
    // A file: URI (a file or a folder) opens as "Открыть" opens chosen files; other schemes are ignored.
    void OpenUri(const QString& uri);
    // Properties.
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    double Volume() const;
    void SetVolume(double volume);
    qint64 Position() const;
    // Play, Pause, Next and Previous: there are tracks.
    bool CanPlay() const;
    // A stream is loaded and its length known.
    bool CanSeek() const;

private:
    void NoticeChange();
    void SendChanges();
    QVariantMap Properties() const;
    QDBusObjectPath TrackId() const;
    void CaptureLoad(int index);

    // The track loaded last, as its record was at the load; index -1 for none.
    struct LoadedTrack {
        int index = -1;
        QString name;
        std::string path;
        TrackDetails details;
    };

    // The track loaded and heard; before the first load, the one Play would
    // start, as the table has it (no tags are read for it).
    LoadedTrack Shown() const;

    PlaybackModel& m_model;
    QWidget& m_window;
    QDBusConnection m_bus;
    QString m_serviceName;
    MprisPlayerAdaptor* m_playerAdaptor;
    bool m_registered = false;
    bool m_changePending = false;
    // What the bus was last told.
    QVariantMap m_sent;
    LoadedTrack m_loaded;
    TrackDetailsReader m_details;
};

// Brings window to the front, as a desktop's request to raise the player does.
void RaiseWindow(QWidget& window);

// The MIME types the player reads, as its desktop entry lists them.
QStringList SupportedMimeTypes();

// org.mpris.MediaPlayer2: the application.
class MprisRootAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ MimeTypes)
public:
    explicit MprisRootAdaptor(MprisPlayer* player) : QDBusAbstractAdaptor(player), m_player(player) { }
    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return QStringLiteral("Лирван"); }
    QString DesktopEntry() const;
    QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList MimeTypes() const { return SupportedMimeTypes(); }

public slots:
    void Raise() { m_player->Raise(); }
    void Quit() { m_player->Quit(); }

private:
    MprisPlayer* m_player;
};

// org.mpris.MediaPlayer2.Player: the transport.
class MprisPlayerAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ CanPlay)
    Q_PROPERTY(bool CanGoPrevious READ CanPlay)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPlay)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
public:
    explicit MprisPlayerAdaptor(MprisPlayer* player) : QDBusAbstractAdaptor(player), m_player(player) { }
    QString PlaybackStatus() const { return m_player->PlaybackStatus(); }
    // The player plays at its one speed.
    double Rate() const { return 1.0; }
    QVariantMap Metadata() const { return m_player->Metadata(); }
    double Volume() const { return m_player->Volume(); }
    void SetVolume(double volume) { m_player->SetVolume(volume); }
    qlonglong Position() const { return m_player->Position(); }
    bool CanPlay() const { return m_player->CanPlay(); }
    bool CanSeek() const { return m_player->CanSeek(); }
    // The player always takes commands.
    bool CanControl() const { return true; }

public slots:
    void Next() { m_player->Next(); }
    void Previous() { m_player->Previous(); }
    void Pause() { m_player->Pause(); }
    void PlayPause() { m_player->PlayPause(); }
    void Stop() { m_player->Stop(); }
    void Play() { m_player->Play(); }
    void Seek(qlonglong offset) { m_player->Seek(offset); }
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position)
    {
        m_player->SetPosition(trackId, position);
    }
    void OpenUri(const QString& uri) { m_player->OpenUri(uri); }

signals:
    void Seeked(qlonglong position);

private:
    MprisPlayer* m_player;
};
