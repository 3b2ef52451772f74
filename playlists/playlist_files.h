#pragma once
// Writing the track table to a playlist's file.

#include "playlists/tables.h"

// Appends the tracks (never the trailing record) to the playlist's file in table
// order, one open and close per track; false at the first track that could not
// be written, leaving the rest unwritten.
bool AppendTrackTable(PList& playlist);
