// Choosing tracks: Open, Add and double-click.

#include "playback/chooser_walk.h"
#include "playback/transport_state.h"
#include "platform/file_chooser.h"
#include "platform/message_box.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"

#include <QListWidget>
#include <algorithm>

namespace {

// Open and Add offer the same files.
const ChooserRequest& TrackChooserRequest()
{
    static const ChooserRequest request{
        {
            {"Все форматы", "*.mp3;*.mid;*.wav;*.wma;*.avi;*.mpeg"},
            {"MIDI", "*.mid"},
            {"MP3", "*.mp3"},
            {"WAV", "*.wav"},
            {"WMA", "*.wma"},
            {"AVI", "*.avi"},
            {"MPEG", "*.mpeg"},
        },
        "mp3",
        true,
    };
    return request;
}

// The files the user chose, in the chooser's order; none when cancelled.
std::vector<std::string> ChooseTrackFiles(FileChooser& chooser)
{
    ChooserResult chosen;
    if (chooser.GetOpenFileName(TrackChooserRequest(), chosen) != 1) return {};
    return WalkChooserResult(chosen);
}

// Enters paths as the tracks from record first on, as many as the table holds;
// returns how many were entered.
int EnterTracks(int first, const std::vector<std::string>& paths)
{
    const int room = std::max(kMaxTracks - first, 0);
    const int entered = std::min(static_cast<int>(paths.size()), room);
    for (int i = 0; i < entered; ++i) TrackTable[first + i].SetFromPath(paths[i]);
    return entered;
}

// Tells the user how many chosen files did not fit into the track table.
void ReportLeftOut(CPlayerDlg* dlg, MessageBoxes& messages, std::size_t leftOut)
{
    if (leftOut == 0) return;
    messages.Show(dlg,
                  QStringLiteral("Список треков вмещает не больше %1 треков. "
                                 "Не добавлено файлов: %2.")
                      .arg(kMaxTracks)
                      .arg(leftOut),
                  QStringLiteral("Лирван"), MessageButtons::Ok);
}

} // namespace

void CPlayerDlg::OnOpen()
{
    const std::vector<std::string> paths = ChooseTrackFiles(m_platform.chooser);
    if (paths.empty()) return;

    const int entered = EnterTracks(0, paths);
    trackSlots = entered + 1;
    // The track that was current may lie beyond the new table: start at its top.
    if (currentTrack >= entered) currentTrack = 0;
    std::string path = TrackTable[currentTrack].path;
    OnStop();
    timerId = SetTimer(kPlaybackTimer, kPlaybackTimerMs);
    RefreshTrackList();
    LoadTrack(std::move(path));
    // Only once playback runs: the timer ticks on while the box is open.
    ReportLeftOut(this, m_platform.messages, paths.size() - static_cast<std::size_t>(entered));
}

void CPlayerDlg::OnAdd()
{
    const std::vector<std::string> paths = ChooseTrackFiles(m_platform.chooser);
    if (paths.empty()) return;

    const int tracks = std::max(trackSlots - 1, 0);
    const int entered = EnterTracks(tracks, paths);
    trackSlots = tracks + entered + 1;
    RefreshTrackList();
    ReportLeftOut(this, m_platform.messages, paths.size() - static_cast<std::size_t>(entered));
}

void CPlayerDlg::OnTrackDblClk()
{
    const int clicked = FirstSelectedRow(m_trackList, trackSlots);
    // Without a selected track there is nothing to play.
    if (clicked < 0) return;
    OnStop();
    currentTrack = clicked;
    LoadTrack(TrackTable[currentTrack].path);
}
