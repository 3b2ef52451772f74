#pragma once
// Writing the track table to a playlist's file.

#include "playlists/tables.h"

#include <span>

// Appends the tracks to the playlist's file in order, one open and close per
// track; false at the first track that could not be written, leaving the rest
// unwritten.
bool AppendTracks(PList& playlist, std::span<const s_simple> tracks);
