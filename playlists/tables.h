#pragma once
// The player's whole playlist state: the tracks of the loaded playlist, the
// catalogue of playlists, and the four counters that say how much of each is used.
//
// The tracks are TrackTable records 0 .. trackSlots - 2; record trackSlots - 1 is
// a trailing record that is never listed, played or written; trackSlots 0 also
// means an empty table. Records beyond a count keep whatever they last held.

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

extern s_simple TrackTable[kTrackRecords];
extern PList PlaylistTable[kPlaylistRecords];

extern int trackSlots;
extern int currentTrack;
extern int playlistCount;
extern int currentPlaylist;
