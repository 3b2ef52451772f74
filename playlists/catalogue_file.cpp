// Changing the catalogue on disk.

#include "playlists/catalogue_file.h"

#include "playlists/playlist_paths.h"

#include <cerrno>

bool ReplaceCatalogue(TextFile& temporary, const std::string& text)
{
    const bool written = temporary.Put(text) && temporary.Sync();
    return temporary.Close() && written && RenameFile(TemporaryCataloguePath(), CataloguePath());
}

bool AppendCatalogueLine(const std::string& line)
{
    std::string text;
    if (auto catalogue = TextFile::Open(CataloguePath(), TextFile::Access::Read)) {
        for (int c; (c = catalogue->GetChar()) != EOF;) text += static_cast<char>(c);
        // A catalogue read only in part would lose the playlists after the break.
        if (catalogue->ReadFailed()) return false;
        catalogue->Close();
    } else if (errno != ENOENT) {
        // It may be there: a new catalogue of one line would lose every playlist in it.
        return false;
    }
    auto temporary = TextFile::Open(TemporaryCataloguePath(), TextFile::Access::Write);
    return temporary && ReplaceCatalogue(*temporary, text + line + "\n");
}
