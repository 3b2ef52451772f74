#include "playlists/playlist_ownership.h"

#include "playlists/playlist_paths.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <utility>

namespace {

bool IsPlaylistFileName(std::string_view name) { return name.ends_with(".plt") && name != "PLT.plt"; }

// The path with ".", ".." and every link resolved; empty when that fails.
std::string Resolved(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return {};
    std::string result(resolved);
    std::free(resolved);
    return result;
}

// The folder part of path (ending in "/", "./" for a bare name) and its last name.
std::pair<std::string, std::string> SplitPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {"./", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

bool IsCatalogue(const struct stat& file)
{
    struct stat catalogue;
    return ::stat(CataloguePath().c_str(), &catalogue) == 0 && catalogue.st_dev == file.st_dev &&
        catalogue.st_ino == file.st_ino;
}

} // namespace

PlaylistFileOwner OwnerOf(const std::string& path)
{
    const std::string folder = Resolved(PlaylistFolder());
    const auto [entryFolder, name] = SplitPath(path);
    if (folder.empty() || !IsPlaylistFileName(name) || Resolved(entryFolder) != folder) {
        return PlaylistFileOwner::Foreign;
    }
    struct stat file;
    if (::lstat(path.c_str(), &file) != 0) {
        return errno == ENOENT ? PlaylistFileOwner::Missing : PlaylistFileOwner::Foreign;
    }
    if (S_ISLNK(file.st_mode)) {
        // Appending writes where the link leads: that must be a file of ours too.
        const std::string target = Resolved(path);
        const auto [targetFolder, targetName] = SplitPath(target);
        if (target.empty() || targetFolder != folder + "/" || !IsPlaylistFileName(targetName) ||
            ::stat(target.c_str(), &file) != 0) {
            return PlaylistFileOwner::Foreign;
        }
    }
    return S_ISREG(file.st_mode) && !IsCatalogue(file) ? PlaylistFileOwner::Ours : PlaylistFileOwner::Foreign;
}
