#include "desktop/mpris.h"

#include "desktop/command_line.h"
#include "desktop/desktop_entry.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"
#include "ui/dialog_template.h"
#include "ui/player_dlg.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.lirvan1");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

// The system command of the window's close box.
constexpr unsigned kCloseCommand = 0xF060;
// The slider's steps: whole percent, and the volume slider's top is full volume.
constexpr int kSliderSteps = 100;

// MPRIS counts time in microseconds.
constexpr qint64 kMicroseconds = 1'000'000;

qint64 MicrosecondsOf(std::uint64_t bytes)
{
    return static_cast<qint64>(bytes / kBytesPerSecond * kMicroseconds +
                               bytes % kBytesPerSecond * kMicroseconds / kBytesPerSecond);
}

// Whether currentTrack names a listed track.
bool HasCurrentTrack() { return currentTrack >= 0 && currentTrack < trackSlots - 1; }

} // namespace

QStringList SupportedMimeTypes()
{
    return QString::fromLatin1(kMimeTypes).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

MprisPlayer::MprisPlayer(CPlayerDlg& dlg, AudioEngine& engine, HandOverChooser& chooser, QDBusConnection bus)
    : m_dlg(dlg), m_engine(engine), m_chooser(chooser), m_bus(std::move(bus)),
      m_playerAdaptor(new MprisPlayerAdaptor(this)), m_status(FindControlAs<QLineEdit>(&dlg, IDC_STATUS)),
      m_positionSlider(FindControlAs<QSlider>(&dlg, IDC_POSITION)),
      m_volumeSlider(FindControlAs<QSlider>(&dlg, IDC_VOLUME)),
      m_trackList(FindControlAs<QListWidget>(&dlg, IDC_TRACK_LIST))
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
    m_sentStatus = PlaybackStatus();
    m_sentMetadata = Metadata();
    m_sentVolume = Volume();
    connect(m_status, &QLineEdit::textChanged, this, &MprisPlayer::NoticeChange);
    connect(&m_dlg, &QWidget::windowTitleChanged, this, &MprisPlayer::NoticeChange);
    connect(m_volumeSlider, &QSlider::valueChanged, this, &MprisPlayer::NoticeChange);
}

MprisPlayer::~MprisPlayer()
{
    if (!m_registered) return;
    m_bus.unregisterService(m_serviceName);
    m_bus.unregisterObject(kObjectPath);
}

void MprisPlayer::Raise()
{
    m_dlg.showNormal();
    m_dlg.raise();
    m_dlg.activateWindow();
}

void MprisPlayer::Quit() { m_dlg.OnSysCommand(kCloseCommand, 0); }

void MprisPlayer::Next() { m_dlg.PlayNext(); }

void MprisPlayer::Previous()
{
    if (trackSlots <= 1) return;
    const int last = trackSlots - 2;
    const int previous = currentTrack > 0 && currentTrack <= last ? currentTrack - 1 : last;
    // As the user would: select the track and double-click it.
    CPlayerDlg::SelectRow(m_trackList, previous);
    m_dlg.OnTrackDblClk();
}

void MprisPlayer::Pause() { FindControlAs<QPushButton>(&m_dlg, IDC_PAUSE)->click(); }

void MprisPlayer::PlayPause()
{
    if (PlaybackStatus() == QLatin1String("Playing")) {
        Pause();
    } else {
        Play();
    }
}

void MprisPlayer::Stop() { FindControlAs<QPushButton>(&m_dlg, IDC_STOP)->click(); }

void MprisPlayer::Play() { FindControlAs<QPushButton>(&m_dlg, IDC_PLAY)->click(); }

void MprisPlayer::Seek(qint64 offset) { MoveTo(Position() + offset); }

void MprisPlayer::SetPosition(const QDBusObjectPath& trackId, qint64 position)
{
    // A position for a track no longer current is ignored, as MPRIS asks.
    if (trackId == TrackId()) MoveTo(position);
}

void MprisPlayer::OpenUri(const QString& uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile()) return;
    OpenFiles(m_dlg, m_chooser, {QFile::encodeName(url.toLocalFile()).toStdString()});
}

void MprisPlayer::MoveTo(qint64 position)
{
    // Without a stream long enough to have slider steps the slider does not seek.
    if (percentUnit <= 0.0) return;
    const double bytes = static_cast<double>(std::max<qint64>(position, 0)) * kBytesPerSecond / kMicroseconds;
    m_positionSlider->setValue(std::min(static_cast<int>(bytes / percentUnit), kSliderSteps));
    emit m_playerAdaptor->Seeked(Position());
}

QString MprisPlayer::PlaybackStatus() const
{
    const QString status = m_status->text();
    if (status == QStringLiteral("Играю")) return QStringLiteral("Playing");
    if (status == QStringLiteral("Пауза")) return QStringLiteral("Paused");
    return QStringLiteral("Stopped");
}

QDBusObjectPath MprisPlayer::TrackId() const
{
    if (!HasCurrentTrack())
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/org/lirvan1/track/%1").arg(currentTrack));
}

QVariantMap MprisPlayer::Metadata() const
{
    QVariantMap metadata{{QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId())}};
    if (!HasCurrentTrack()) return metadata;
    const s_simple& track = TrackTable[currentTrack];
    metadata.insert(QStringLiteral("xesam:title"), QString::fromStdString(track.name));
    metadata.insert(QStringLiteral("xesam:url"),
                    QUrl::fromLocalFile(QFile::decodeName(track.path.c_str())).toString(QUrl::FullyEncoded));
    if (streamLength > 0) {
        metadata.insert(QStringLiteral("mpris:length"), QVariant::fromValue(MicrosecondsOf(streamLength)));
    }
    return metadata;
}

double MprisPlayer::Volume() const
{
    return static_cast<double>(kSliderSteps - m_volumeSlider->value()) / kSliderSteps;
}

void MprisPlayer::SetVolume(double volume)
{
    const double clamped = std::clamp(volume, 0.0, 1.0);
    m_volumeSlider->setValue(kSliderSteps - static_cast<int>(clamped * kSliderSteps + 0.5));
}

qint64 MprisPlayer::Position() const { return MicrosecondsOf(m_engine.AudioGetPosition(stream)); }

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
    const QString status = PlaybackStatus();
    if (status != m_sentStatus) changed.insert(QStringLiteral("PlaybackStatus"), m_sentStatus = status);
    const QVariantMap metadata = Metadata();
    if (metadata != m_sentMetadata) changed.insert(QStringLiteral("Metadata"), m_sentMetadata = metadata);
    const double volume = Volume();
    if (volume != m_sentVolume) changed.insert(QStringLiteral("Volume"), m_sentVolume = volume);
    if (changed.isEmpty()) return;
    QDBusMessage signal = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    m_bus.send(signal);
}

QString MprisRootAdaptor::DesktopEntry() const { return QString::fromLatin1(kDesktopEntry); }
