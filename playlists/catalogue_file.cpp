// Changing the catalogue on disk.

#include "playlists/catalogue_file.h"

#include "playlists/playlist_paths.h"

#include <cerrno>

namespace {

// The catalogue's bytes as they lie on disk, appended to bytes; false when it is
// there but could not be read whole. No catalogue at all reads as no bytes.
bool ReadCatalogueBytes(std::string& bytes)
{
    return ReadFileBytes(CataloguePath(), bytes) || errno == ENOENT;
}

} // namespace

bool ReplaceCatalogue(TextFile& temporary, const std::string& text)
{
    const bool written = temporary.Put(text) && temporary.Sync();
    return temporary.Close() && written && RenameFile(TemporaryCataloguePath(), CataloguePath());
}

bool AppendCatalogueLine(const std::string& line)
{
    std::string bytes;
    // A catalogue read only in part, or one that may be there but does not open,
    // would lose the playlists it holds.
    if (!ReadCatalogueBytes(bytes)) return false;
    // A last line without its line end gets one, so that the new line stands on
    // a line of its own; a lone CR there stays part of that last line, as read.
    if (!bytes.empty() && bytes.back() != '\n') bytes += "\r\n";
    bytes += line + "\r\n";

    FileSystem& fs = CurrentFileSystem();
    const int fd = fs.Open(TemporaryCataloguePath(), FileSystem::Access::Write);
    if (fd < 0) return false;
    const bool written = WriteAll(fs, fd, bytes) && fs.Sync(fd);
    return fs.Close(fd) && written && RenameFile(TemporaryCataloguePath(), CataloguePath());
}
