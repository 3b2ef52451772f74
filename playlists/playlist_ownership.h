#pragma once
// Which files the playlist commands may change. A catalogue line names its
// playlist's file by any path (a hand edit, a pl folder from another machine, a
// player folder that has moved); reading follows it anywhere, but only a playlist
// file of ours is ever appended to or removed.

#include <string>

enum class PlaylistFileOwner {
    // A playlist file of ours: a regular file whose folder, with ".", ".." and
    // links resolved, is PlaylistFolder(), and whose name ends in ".plt" and is
    // not the catalogue's "PLT.plt" (nor "PLT.pltt", which does not end so). A
    // symbolic link so named there counts only when it leads to such a file. The
    // catalogue under another name (a hard link, or other letter case where the
    // file system ignores it) does not count.
    Ours,
    // Nothing at all at the path, which lies in PlaylistFolder() under such a
    // name: appending makes a playlist file of ours there.
    Missing,
    // Anything else, there or not: never written to or removed.
    Foreign,
};

// What path names, by looking at the disk (nothing is opened or changed); on the
// user-interface thread, at the moment of the command that will use the answer.
PlaylistFileOwner OwnerOf(const std::string& path);
