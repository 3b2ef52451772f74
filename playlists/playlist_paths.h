#pragma once
// Where the playlists live: the folder pl beside the executable, the catalogue
// PLT.plt in it, and one file per playlist named after the playlist.

#include <cstddef>
#include <string>
#include <string_view>

// Characters of a playlist name that make its file name; the rest stays in the catalogue.
inline constexpr std::size_t kFileNameCharacters = 39;
// Bytes of a playlist line that make a track's path: the system's limit on a
// path (PATH_MAX), so every path the system can open is kept whole.
inline constexpr std::size_t kTrackPathBytes = 4096;

// The first count characters of UTF-8 text (all of it when shorter), never
// splitting a character's byte sequence.
std::string FirstCharacters(std::string_view text, std::size_t count);
// The first bytes of UTF-8 text (all of it when shorter), less the start of a
// character that does not fit whole.
std::string FirstBytes(std::string_view text, std::size_t bytes);

// The folder pl in the application's folder, ending in "/": every path the player
// builds for the catalogue and the playlists' files lies in it.
std::string PlaylistFolder();
std::string CataloguePath();
// The new catalogue while it is being written, beside the catalogue.
std::string TemporaryCataloguePath();
// The file of a new playlist: its name cut to kFileNameCharacters, then ".plt".
std::string PlaylistFilePath(std::string_view playlistName);
// Whether a name would put its file outside pl or spoil its catalogue line: it
// holds a folder separator, the field separator "*", a line end or a NUL.
bool IsUnsafePlaylistName(std::string_view playlistName);
