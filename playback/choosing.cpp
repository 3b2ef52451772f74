// Choosing tracks: Open, Add and double-click.

#include "playback/choosing.h"

#include "playback/chooser_walk.h"
#include "playback/playback_model.h"
#include "playlists/tables.h"

#include <algorithm>
#include <cctype>

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

bool IsTrackFileName(std::string_view name)
{
    const auto lower = [](std::string_view text) {
        std::string folded(text);
        for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return folded;
    };
    const std::string folded = lower(name);
    // "*.mp3;*.mid;...": each pattern is "*" and an extension.
    std::string_view patterns = TrackChooserRequest().filters.front().second;
    while (!patterns.empty()) {
        const std::size_t end = std::min(patterns.find(';'), patterns.size());
        const std::string_view suffix = patterns.substr(1, end - 1);
        if (folded.size() > suffix.size() && folded.ends_with(lower(suffix))) return true;
        patterns.remove_prefix(std::min(end + 1, patterns.size()));
    }
    return false;
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
