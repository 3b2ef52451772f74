#pragma once
// The player's whole playlist state: the tracks of the loaded playlist, the
// catalogue of playlists, and the four counters that say how much of each is used.
//
// The tracks are TrackTable records 0 .. trackSlots - 2; record trackSlots - 1 is
// a trailing record that is never listed, played or written; trackSlots 0 also
// means an empty table. Records beyond a count keep whatever they last held.

#include <span>
#include <string>
#include <string_view>

// A track: its full path and the name shown for it.
class s_simple {
public:
    std::string path;
    std::string name;

    // Stores path and derives name: the text between the last dot of the whole
    // path and the folder separator before it.
    void SetFromPath(std::string_view fullPath);
};

// A playlist: the path of its file and its name as typed.
class PList {
public:
    std::string path;
    std::string name;

    enum class CreateResult {
        Created,
        Exists,      // a file of that path is already there; nothing was written
        WriteFailed, // the file or its catalogue line could not be written; nothing is left behind
    };
    // Sets name and path (also when it fails), then makes the playlist's empty
    // file and its catalogue line.
    CreateResult CreatePlaylistFile(std::string playlistName);
    // Appends one track line to the playlist's file; false when it could not be written.
    bool AppendTrack(std::string trackPath);
};

inline constexpr int kTrackRecords = 500;
inline constexpr int kPlaylistRecords = 70;
// Most tracks a table can hold: one record stays for the trailing record.
inline constexpr int kMaxTracks = kTrackRecords - 1;

namespace lirvan {

// The tables and their counters, read and written on the user-interface thread
// only. Constructed before anything runs, TrackTable first.
struct PlaylistTables {
    s_simple TrackTable[kTrackRecords];
    PList PlaylistTable[kPlaylistRecords];
    int trackSlots = 0;
    int currentTrack = 0;
    int playlistCount = 0;
    int currentPlaylist = 0;
};

extern PlaylistTables g_tables;

// The handlers use the fields by these names. Bound at compile time, so they are
// valid before any static constructor runs.
inline constinit s_simple (&TrackTable)[kTrackRecords] = g_tables.TrackTable;
inline constinit PList (&PlaylistTable)[kPlaylistRecords] = g_tables.PlaylistTable;
inline constinit int& trackSlots = g_tables.trackSlots;
inline constinit int& currentTrack = g_tables.currentTrack;
inline constinit int& playlistCount = g_tables.playlistCount;
inline constinit int& currentPlaylist = g_tables.currentPlaylist;

// Every record empty and every counter 0, as at program start.
void ResetPlaylistTables();

// The tracks: records 0 .. trackSlots - 2, without the trailing record; none
// when trackSlots is 0 or 1.
std::span<s_simple> Tracks();
// How many tracks there are: the size of Tracks().
int TrackCount();

} // namespace lirvan
