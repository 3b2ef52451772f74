#include "playlists/file_readers.h"

#include "playlists/playlist_paths.h"

#include <string>

CatalogueRead ReadCatalogue(TextFile& catalogue, std::span<PList> table)
{
    CatalogueRead read;
    std::string pathField;
    std::string nameField;
    bool firstField = true;
    for (int c; (c = catalogue.GetChar()) != EOF;) {
        if (firstField && c != '*') {
            if (c != '\n') pathField += static_cast<char>(c);
            continue;
        }
        read.separatorSeen = true;
        firstField = false;
        if (c == '\n') {
            if (static_cast<std::size_t>(read.entries) < table.size()) {
                table[read.entries].path = pathField;
                table[read.entries].name = nameField;
                ++read.entries;
            }
            pathField.clear();
            nameField.clear();
            firstField = true;
        } else if (c != '*') {
            nameField += static_cast<char>(c);
        }
    }
    return read;
}

int ReadPlaylistFile(TextFile& playlist, std::span<s_simple> table)
{
    const int maxTracks = static_cast<int>(table.size()) - 1;
    int used = 0;
    auto store = [&](std::string_view line) { table[used++].SetFromPath(FirstBytes(line, kTrackPathBytes)); };
    std::string lineRead;
    bool empty = true;
    for (int c; (c = playlist.GetChar()) != EOF;) {
        empty = false;
        if (c != '\n') {
            lineRead += static_cast<char>(c);
        } else {
            if (used < maxTracks) store(lineRead);
            lineRead.clear();
        }
    }
    // A last line without a line end is a track all the same.
    if (!lineRead.empty() && used < maxTracks) store(lineRead);
    if (!empty) store("");
    return used;
}
