// Choosing tracks: Open, Add and double-click.

#include "playback/choosing.h"

#include "playback/chooser_walk.h"
#include "playback/playback_model.h"
#include "playlists/tables.h"

#include <algorithm>

using namespace lirvan;

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

std::vector<std::string> ChooseTrackFiles(FileChooser& chooser)
{
    ChooserResult chosen;
    if (chooser.GetOpenFileName(TrackChooserRequest(), chosen) != 1) return {};
    return WalkChooserResult(chosen);
}

int PlaybackModel::EnterTracks(int first, const std::vector<std::string>& paths)
{
    const int room = std::max(kMaxTracks - first, 0);
    const int entered = std::min(static_cast<int>(paths.size()), room);
    for (int i = 0; i < entered; ++i) TrackTable[first + i].SetFromPath(paths[i]);
    return entered;
}

std::size_t PlaybackModel::OpenTracks(const std::vector<std::string>& paths)
{
    if (paths.empty()) return 0;
    const int entered = EnterTracks(0, paths);
    trackSlots = entered + 1;
    // The track that was current may lie beyond the new table: start at its top.
    if (currentTrack >= entered) currentTrack = 0;
    std::string path = TrackTable[currentTrack].path;
    Stop();
    StartTimer();
    RefreshTrackList();
    LoadTrack(std::move(path));
    const std::size_t leftOut = paths.size() - static_cast<std::size_t>(entered);
    // Only once playback runs: the timer ticks on while the user reads about it.
    if (leftOut > 0) emit TracksLeftOut(leftOut);
    return leftOut;
}

std::size_t PlaybackModel::AddTracks(const std::vector<std::string>& paths)
{
    if (paths.empty()) return 0;
    const int tracks = TrackCount();
    const int entered = EnterTracks(tracks, paths);
    trackSlots = tracks + entered + 1;
    RefreshTrackList();
    const std::size_t leftOut = paths.size() - static_cast<std::size_t>(entered);
    if (leftOut > 0) emit TracksLeftOut(leftOut);
    return leftOut;
}

void PlaybackModel::RefreshTrackList()
{
    emit TracksChanged();
    PrepareNext();
}

void PlaybackModel::PlayTrack(int index)
{
    const bool restart = index == currentTrack && m_streamLoaded;
    Stop();
    currentTrack = index;
    LoadTrack(TrackTable[currentTrack].path);
    if (restart && m_streamLoaded) emit Seeked(0);
}

void PlaybackModel::Previous()
{
    if (TrackCount() == 0) return;
    const int last = TrackCount() - 1;
    PlayTrack(currentTrack > 0 && currentTrack <= last ? currentTrack - 1 : last);
}
