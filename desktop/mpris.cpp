#include "desktop/mpris.h"

#include "desktop/desktop_entry.h"
#include "desktop/file_urls.h"
#include "desktop/track_paths.h"
#include "playback/playback_model.h"
#include "platform/audio_formats.h"
#include "playlists/tables.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.lirvan1");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

// MPRIS gives the volume as 0..1, the model as the engine's 0..100.
constexpr double kVolumeSteps = 100.0;

} // namespace

QStringList SupportedMimeTypes()
{
    QStringList types;
    for (const std::string& type : OpenedMimeTypes()) types << QString::fromStdString(type);
    return types;
}

void RaiseWindow(QWidget& window)
{
    if (window.isMinimized()) window.showNormal();
    window.show();
    window.raise();
    window.activateWindow();
}

MprisPlayer::MprisPlayer(PlaybackModel& model, QWidget& window, QDBusConnection bus)
    : m_model(model), m_window(window), m_bus(std::move(bus)), m_playerAdaptor(new MprisPlayerAdaptor(this))
{
    new MprisRootAdaptor(this);
    if (!m_bus.isConnected()) return;
    if (!m_bus.registerObject(kObjectPath, this)) return;
    m_serviceName = kServiceName;
    if (!m_bus.registerService(m_serviceName)) {
        m_serviceName += QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!m_bus.registerService(m_serviceName)) {
            m_bus.unregisterObject(kObjectPath);
            return;
        }
    }
    m_registered = true;
    // A track loaded before the bus was opened is the one heard.
    if (m_model.StreamLoaded() && m_model.HasCurrentTrack()) CaptureLoad(m_model.CurrentTrack());
    m_sent = Properties();
    connect(&m_model, &PlaybackModel::StateChanged, this, &MprisPlayer::NoticeChange);
    connect(&m_model, &PlaybackModel::TrackLoaded, this, [this](int index) {
        CaptureLoad(index);
        NoticeChange();
    });
    connect(&m_model, &PlaybackModel::TracksChanged, this, [this] {
        // An emptied table stopped what played: no track is loaded.
        if (m_model.TrackCount() == 0) m_loaded = {};
        NoticeChange();
    });
    connect(&m_details, &TrackDetailsReader::DetailsRead, this, [this](const TrackDetails& details) {
        m_loaded.details = details;
        NoticeChange();
    });
    connect(&m_model, &PlaybackModel::LengthChanged, this, &MprisPlayer::NoticeChange);
    connect(&m_model, &PlaybackModel::StreamLoadedChanged, this, &MprisPlayer::NoticeChange);
    connect(&m_model, &PlaybackModel::VolumeChanged, this, &MprisPlayer::NoticeChange);
    connect(&m_model, &PlaybackModel::Seeked, this, [this](std::uint64_t position) {
        emit m_playerAdaptor->Seeked(PlaybackModel::MicrosecondsOf(position));
    });
}

MprisPlayer::~MprisPlayer()
{
    if (!m_registered) return;
    m_bus.unregisterService(m_serviceName);
    m_bus.unregisterObject(kObjectPath);
}

void MprisPlayer::Raise() { RaiseWindow(m_window); }

void MprisPlayer::Quit() { m_window.close(); }

void MprisPlayer::Next()
{
    if (CanPlay()) m_model.Next();
}

void MprisPlayer::Previous()
{
    if (CanPlay()) m_model.Previous();
}

void MprisPlayer::Pause()
{
    if (CanPlay()) m_model.Pause();
}

void MprisPlayer::PlayPause()
{
    if (m_model.State() == PlaybackState::Playing) {
        Pause();
    } else {
        Play();
    }
}

void MprisPlayer::Stop() { m_model.Stop(); }

void MprisPlayer::Play()
{
    if (CanPlay()) m_model.Play();
}

void MprisPlayer::Seek(qint64 offset)
{
    if (!CanSeek()) return;
    const qint64 target = std::max<qint64>(Position() + offset, 0);
    if (target > PlaybackModel::MicrosecondsOf(m_model.Length())) {
        m_model.Next();
        return;
    }
    m_model.SeekTo(PlaybackModel::UnitsOf(target));
}

void MprisPlayer::SetPosition(const QDBusObjectPath& trackId, qint64 position)
{
    // A position for a track no longer current, before the start or past the end is ignored.
    if (!CanSeek() || trackId != TrackId() || position < 0) return;
    if (position > PlaybackModel::MicrosecondsOf(m_model.Length())) return;
    m_model.SeekTo(PlaybackModel::UnitsOf(position));
}

void MprisPlayer::OpenUri(const QString& uri)
{
    const std::string path = LocalPathOf(QUrl(uri));
    if (!path.empty()) OpenPaths(m_model, {path});
}

QString MprisPlayer::PlaybackStatus() const
{
    switch (m_model.State()) {
    case PlaybackState::Playing: return QStringLiteral("Playing");
    case PlaybackState::Paused: return QStringLiteral("Paused");
    case PlaybackState::Stopped: break;
    }
    return QStringLiteral("Stopped");
}

MprisPlayer::LoadedTrack MprisPlayer::Shown() const
{
    if (m_loaded.index >= 0 || !m_model.HasCurrentTrack()) return m_loaded;
    const int index = m_model.CurrentTrack();
    const s_simple& track = lirvan::TrackTable[index];
    return {index, QString::fromStdString(track.name), track.path, {}};
}

QDBusObjectPath MprisPlayer::TrackId() const
{
    const int index = Shown().index;
    if (index < 0) return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/org/lirvan1/track/%1").arg(index));
}

void MprisPlayer::CaptureLoad(int index)
{
    const s_simple& track = lirvan::TrackTable[index];
    m_loaded = {index, QString::fromStdString(track.name), track.path, {}};
    m_details.Read(track.path);
}

QVariantMap MprisPlayer::Metadata() const
{
    QVariantMap metadata{{QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId())}};
    const LoadedTrack shown = Shown();
    if (shown.index < 0) return metadata;
    const TrackDetails& details = shown.details;
    metadata.insert(QStringLiteral("xesam:title"), details.title.isEmpty() ? shown.name : details.title);
    metadata.insert(QStringLiteral("xesam:url"), FileUrlOf(shown.path));
    if (m_model.Length() > 0) {
        metadata.insert(QStringLiteral("mpris:length"),
                        QVariant::fromValue(qint64{PlaybackModel::MicrosecondsOf(m_model.Length())}));
    }
    if (!details.artists.isEmpty()) metadata.insert(QStringLiteral("xesam:artist"), details.artists);
    if (!details.albumArtists.isEmpty())
        metadata.insert(QStringLiteral("xesam:albumArtist"), details.albumArtists);
    if (!details.album.isEmpty()) metadata.insert(QStringLiteral("xesam:album"), details.album);
    if (details.trackNumber > 0) metadata.insert(QStringLiteral("xesam:trackNumber"), details.trackNumber);
    if (!details.artUrl.isEmpty()) metadata.insert(QStringLiteral("mpris:artUrl"), details.artUrl);
    return metadata;
}

double MprisPlayer::Volume() const { return m_model.Volume() / kVolumeSteps; }

void MprisPlayer::SetVolume(double volume)
{
    m_model.SetVolume(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * kVolumeSteps)));
}

qint64 MprisPlayer::Position() const { return PlaybackModel::MicrosecondsOf(m_model.Position()); }

bool MprisPlayer::CanPlay() const { return m_model.TrackCount() > 0; }

bool MprisPlayer::CanSeek() const { return m_model.StreamLoaded() && m_model.Length() > 0; }

QVariantMap MprisPlayer::Properties() const
{
    const bool canPlay = CanPlay();
    return {
        {QStringLiteral("PlaybackStatus"), PlaybackStatus()},
        {QStringLiteral("Metadata"), Metadata()},
        {QStringLiteral("Volume"), Volume()},
        {QStringLiteral("CanPlay"), canPlay},
        {QStringLiteral("CanPause"), canPlay},
        {QStringLiteral("CanGoNext"), canPlay},
        {QStringLiteral("CanGoPrevious"), canPlay},
        {QStringLiteral("CanSeek"), CanSeek()},
    };
}

void MprisPlayer::NoticeChange()
{
    // A load changes title, status and length one after another: tell them once.
    if (m_changePending) return;
    m_changePending = true;
    QTimer::singleShot(0, this, &MprisPlayer::SendChanges);
}

void MprisPlayer::SendChanges()
{
    m_changePending = false;
    QVariantMap changed;
    const QVariantMap now = Properties();
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_sent.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
    }
    if (changed.isEmpty()) return;
    m_sent = now;
    QDBusMessage signal = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    m_bus.send(signal);
}

QString MprisRootAdaptor::DesktopEntry() const { return QString::fromLatin1(kDesktopEntry); }
