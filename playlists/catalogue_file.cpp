// Changing the catalogue on disk.

#include "playlists/catalogue_file.h"

#include "playlists/playlist_paths.h"

#include <cerrno>

namespace {

// The catalogue's bytes as they lie on disk, appended to bytes; false when it is
// there but could not be read whole. No catalogue at all reads as no bytes.
bool ReadCatalogueBytes(std::string& bytes)
{
    FileSystem& fs = CurrentFileSystem();
    const int fd = fs.Open(CataloguePath(), FileSystem::Access::Read);
    if (fd < 0) return errno == ENOENT;
    char buffer[4096];
    long n;
    while ((n = fs.Read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, n);
    fs.Close(fd);
    return n == 0;
}

// Writes bytes as they are, no line end turned into another.
bool PutBytes(FileSystem& fs, int fd, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const long n = fs.Write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
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
    const bool written = PutBytes(fs, fd, bytes) && fs.Sync(fd);
    return fs.Close(fd) && written && RenameFile(TemporaryCataloguePath(), CataloguePath());
}
