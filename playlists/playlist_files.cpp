// A playlist record's own file: creating it with its catalogue line, appending tracks.

#include "playlists/tables.h"

bool PList::CreatePlaylistFile(std::string) { return false; }
void PList::AppendTrack(std::string) {}
