#pragma once
// Reading the catalogue and a playlist's file into the tables, one character at
// a time; a record the table has no room for is left out, and the file is only read.

#include "platform/text_file.h"
#include "playlists/tables.h"

#include <span>

struct CatalogueRead {
    int entries = 0;            // records filled from the start of the table
    bool separatorSeen = false; // a "*" anywhere, even in text after the last line end
};

// Each line "path*name" becomes a record; an empty line adds nothing, a line
// without "*" runs on into the next line's path, and further "*" are dropped.
CatalogueRead ReadCatalogue(TextFile& catalogue, std::span<PList> table);

// Each line becomes a track (its path cut to kTrackPathBytes), a last line
// without a line end included, followed by the empty trailing record. Returns
// the records used: 0 for an empty file. At most table.size() - 1 tracks are
// read; the table must have a record.
int ReadPlaylistFile(TextFile& playlist, std::span<s_simple> table);
