#include "desktop/track_paths.h"

#include "playback/choosing.h"
#include "playback/playback_model.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>

namespace {

// The chooser's files below folder, sorted by path; links to folders are not followed, so a loop ends.
std::vector<std::string> TrackFilesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> found;
    std::error_code error;
    std::filesystem::recursive_directory_iterator it(
        folder, std::filesystem::directory_options::skip_permission_denied, error);
    for (const std::filesystem::recursive_directory_iterator end; !error && it != end; it.increment(error)) {
        if (IsTrackFileName(it->path().filename().string()) && it->is_regular_file(error)) {
            found.push_back(it->path().string());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

std::vector<std::string> TrackPathsOf(const std::vector<std::string>& paths)
{
    std::vector<std::string> tracks;
    for (const std::string& path : paths) {
        std::error_code error;
        if (!std::filesystem::is_directory(path, error)) {
            tracks.push_back(path);
            continue;
        }
        std::vector<std::string> files = TrackFilesIn(path);
        tracks.insert(tracks.end(), std::make_move_iterator(files.begin()),
                      std::make_move_iterator(files.end()));
    }
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
