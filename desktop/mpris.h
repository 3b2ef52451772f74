#pragma once
// MPRIS on the D-Bus session bus, so media keys, the desktop's sound menu and
// playerctl control the player. Every method works the window as the user
// would (a click on its button, a move of its slider, its track-advance
// handler), and every property is read back from the window and the player's
// globals, so the window stays the one truth.
//
// Threads: everything runs on the user-interface thread; Qt delivers the bus's
// calls there. Changes are noticed from the window's own notifications (status
// text, title, volume slider), gathered until the event loop is next idle and
// sent as one PropertiesChanged: nothing runs while nothing changes.

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

class AudioEngine;
class CPlayerDlg;
class HandOverChooser;
class MprisPlayerAdaptor;
class QLineEdit;
class QListWidget;
class QSlider;

class MprisPlayer final : public QObject {
    Q_OBJECT
public:
    // Registers the player on bus as org.mpris.MediaPlayer2.lirvan1 (a second
    // instance adds ".instance<pid>"). dlg, the engine and the chooser it asks
    // must outlive it; it is not a child of dlg. Without a connected bus it
    // stays silent and Registered() is false.
    MprisPlayer(CPlayerDlg& dlg, AudioEngine& engine, HandOverChooser& chooser, QDBusConnection bus);
    ~MprisPlayer() override;
    bool Registered() const { return m_registered; }

    // org.mpris.MediaPlayer2
    void Raise();
    void Quit();
    // org.mpris.MediaPlayer2.Player: methods. Offsets and positions are in microseconds.
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qint64 offset);
    void SetPosition(const QDBusObjectPath& trackId, qint64 position);
    // A file: URI opens as "Открыть" opens one chosen file; other schemes are ignored.
    void OpenUri(const QString& uri);
    // Properties.
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    double Volume() const;
    void SetVolume(double volume);
    qint64 Position() const;

private:
    void NoticeChange();
    void SendChanges();
    // Moves the position slider to where a user would drag it for position (µs).
    void MoveTo(qint64 position);
    QDBusObjectPath TrackId() const;

    CPlayerDlg& m_dlg;
    AudioEngine& m_engine;
    HandOverChooser& m_chooser;
    QDBusConnection m_bus;
    QString m_serviceName;
    MprisPlayerAdaptor* m_playerAdaptor;
    bool m_registered = false;
    bool m_changePending = false;
    QLineEdit* m_status;
    QSlider* m_positionSlider;
    QSlider* m_volumeSlider;
    QListWidget* m_trackList;
    // What the bus was last told.
    QString m_sentStatus;
    QVariantMap m_sentMetadata;
    double m_sentVolume = -1.0;
};

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
    Q_PROPERTY(bool CanGoNext READ Can)
    Q_PROPERTY(bool CanGoPrevious READ Can)
    Q_PROPERTY(bool CanPlay READ Can)
    Q_PROPERTY(bool CanPause READ Can)
    Q_PROPERTY(bool CanSeek READ Can)
    Q_PROPERTY(bool CanControl READ Can)
public:
    explicit MprisPlayerAdaptor(MprisPlayer* player) : QDBusAbstractAdaptor(player), m_player(player) { }
    QString PlaybackStatus() const { return m_player->PlaybackStatus(); }
    // The player plays at its one speed.
    double Rate() const { return 1.0; }
    QVariantMap Metadata() const { return m_player->Metadata(); }
    double Volume() const { return m_player->Volume(); }
    void SetVolume(double volume) { m_player->SetVolume(volume); }
    qlonglong Position() const { return m_player->Position(); }
    // The window's buttons and sliders are always enabled.
    bool Can() const { return true; }

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
