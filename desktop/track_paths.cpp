#include "desktop/track_paths.h"

#include "playback/playback_model.h"
#include "platform/audio_formats.h"
#include "platform/regular_file.h"
#include "playlists/track_lists.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <set>

namespace {

// The audio files below folder, sorted by path; links to folders are not followed, so a loop ends.
std::vector<std::string> AudioFilesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> found;
    std::error_code error;
    std::filesystem::recursive_directory_iterator it(
        folder, std::filesystem::directory_options::skip_permission_denied, error);
    for (const std::filesystem::recursive_directory_iterator end; !error && it != end; it.increment(error)) {
        const std::string path = it->path().string();
        if (IsAudioFileName(it->path().filename().string()) && IsRegularFile(path.c_str())) {
            found.push_back(path);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Appends the tracks that path stands for; a list already read (readLists
// holds them) adds nothing more.
void AppendTracksOf(const std::string& path, std::set<std::string>& readLists,
                    std::vector<std::string>& tracks)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        std::vector<std::string> files = AudioFilesIn(path);
        tracks.insert(tracks.end(), std::make_move_iterator(files.begin()),
                      std::make_move_iterator(files.end()));
        return;
    }
    if (!IsTrackListName(path) || !IsRegularFile(path.c_str())) {
        tracks.push_back(path);
        return;
    }
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    if (!readLists.insert(error ? path : canonical.string()).second) return;
    for (const std::string& entry : ReadTrackList(path)) AppendTracksOf(entry, readLists, tracks);
}

} // namespace

std::vector<std::string> TrackPathsOf(const std::vector<std::string>& paths)
{
    std::vector<std::string> tracks;
    std::set<std::string> readLists;
    for (const std::string& path : paths) AppendTracksOf(path, readLists, tracks);
    return tracks;
}

std::vector<std::string> CommandLineFiles(const QStringList& arguments)
{
    std::vector<std::string> files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].isEmpty()) continue;
        files.push_back(QFile::encodeName(QFileInfo(arguments[i]).absoluteFilePath()).toStdString());
    }
    return files;
}

void OpenPaths(PlaybackModel& model, const std::vector<std::string>& paths)
{
    model.OpenTracks(TrackPathsOf(paths));
}

void AddPaths(PlaybackModel& model, const std::vector<std::string>& paths)
{
    model.AddTracks(TrackPathsOf(paths));
}
