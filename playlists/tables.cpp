#include "playlists/tables.h"

namespace lirvan {

PlaylistTables g_tables;

void ResetPlaylistTables() { g_tables = {}; }

int TrackCount() { return trackSlots > 1 ? trackSlots - 1 : 0; }

std::span<s_simple> Tracks() { return std::span(TrackTable).first(static_cast<std::size_t>(TrackCount())); }

} // namespace lirvan

void s_simple::SetFromPath(std::string_view fullPath)
{
    path.assign(fullPath);
    name.clear();
    // Walk back from the end: everything before the last dot, up to the folder
    // separator, is the name; earlier dots are ordinary characters.
    bool passedDot = false;
    std::size_t end = 0;
    for (std::size_t i = fullPath.size(); i-- > 0;) {
        char c = fullPath[i];
        if (passedDot) {
            if (c == '/') {
                name.assign(fullPath.substr(i + 1, end - (i + 1)));
                return;
            }
        } else if (c == '.') {
            passedDot = true;
            end = i;
        }
    }
    if (passedDot) name.assign(fullPath.substr(0, end));
}
