// The main window as a view of the playback model: each notification sets the
// controls that show it, and nothing is read back from them.

#include "playback/level_meter.h"
#include "playback/playback_model.h"
#include "platform/message_box.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSlider>

namespace {
QString StatusText(PlaybackState state)
{
    switch (state) {
    case PlaybackState::Playing: return QStringLiteral("Играю");
    case PlaybackState::Paused: return QStringLiteral("Пауза");
    case PlaybackState::Stopped: break;
    }
    return QStringLiteral("Остановлено");
}
} // namespace

void CPlayerDlg::ConnectModel()
{
    connect(&m_platform.model, &PlaybackModel::StateChanged, this, &CPlayerDlg::ShowState);
    connect(&m_platform.model, &PlaybackModel::TrackLoaded, this, &CPlayerDlg::ShowTrackLoaded);
    connect(&m_platform.model, &PlaybackModel::TracksChanged, this, &CPlayerDlg::ShowTracks);
    connect(&m_platform.model, &PlaybackModel::PositionShown, m_position, &QSlider::setValue);
    connect(&m_platform.model, &PlaybackModel::MeterShown, this, &CPlayerDlg::ShowMeter);
    connect(&m_platform.model, &PlaybackModel::VolumeChanged, this, &CPlayerDlg::ShowVolume);
    connect(&m_platform.model, &PlaybackModel::TracksLeftOut, this, &CPlayerDlg::ReportLeftOut);
}

void CPlayerDlg::ShowState(PlaybackState state) { m_status->setText(StatusText(state)); }

void CPlayerDlg::ShowTrackLoaded(int index)
{
    setWindowTitle(QString::fromStdString(lirvan::TrackTable[index].name));
    SelectRow(m_trackList, index);
}

void CPlayerDlg::ShowTracks()
{
    m_trackList->clear();
    // The trailing record is never listed.
    for (int i = 0; i < m_platform.model.TrackCount(); ++i) {
        m_trackList->insertItem(i, QString::fromStdString(lirvan::TrackTable[i].name));
    }
    if (m_platform.model.TrackCount() > 0) SelectRow(m_trackList, m_platform.model.CurrentTrack());
}

void CPlayerDlg::ShowMeter(int band, int bars)
{
    // Most ticks a band shows what it showed: a repaint of the same text is not free.
    const QString text = QString::fromStdString(MeterText(bars));
    if (m_meter[band]->text() != text) m_meter[band]->setText(text);
}

void CPlayerDlg::ShowVolume(int volume)
{
    // The slider shows what the model already applied: its move is no new input.
    const QSignalBlocker quiet(m_volume);
    m_volume->setValue(kFullVolume - volume);
}

void CPlayerDlg::ReportLeftOut(std::size_t count)
{
    m_platform.messages.Show(this,
                             QStringLiteral("Список треков вмещает не больше %1 треков. "
                                            "Не добавлено файлов: %2.")
                                 .arg(kMaxTracks)
                                 .arg(count),
                             QStringLiteral("Лирван"), MessageButtons::Ok);
}
