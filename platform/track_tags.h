#pragma once
// A track's tags and embedded picture, read through TagLib in a module of its
// own (liblirvan_tags.so), loaded at the first read, so that the player starts
// without TagLib and a session without a desktop to tell never loads it.

#include <string>
#include <vector>

struct TrackTags {
    // Text in UTF-8; empty (0 for the number) where the file has none.
    std::string title;
    std::vector<std::string> artists;
    std::string album;
    std::vector<std::string> albumArtists;
    int trackNumber = 0;
    // The embedded picture (the front cover where the file marks one, else the
    // first), its bytes and its MIME type as the file states it; empty without one.
    std::string picture;
    std::string pictureMimeType;
};

// The tags of the regular file at path (file-system encoding); empty tags for
// anything else, a file TagLib does not read, or when the module cannot be
// loaded (said once on standard error). Blocks on the file's reading: call it
// off the user-interface thread. Any thread; calls may run at once.
TrackTags ReadTrackTags(const std::string& path);
