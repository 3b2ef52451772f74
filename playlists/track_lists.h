#pragma once
// Lists of tracks that other players write (M3U, M3U8, PLS), read into the paths
// they name. Plain functions of the user-interface thread; nothing is played here.

#include <string>
#include <string_view>
#include <vector>

// The entries of the list at listPath (its extension tells the kind), in order,
// as paths in the file system's encoding:
// - a line ends at LF or CR LF; empty lines and lines starting with "#" are skipped;
//   a PLS takes only its "FileN=" lines, in the order of N;
// - the text is UTF-8 (a leading byte-order mark dropped); an .m3u that is not
//   valid UTF-8 is Windows-1251, as Russian players on Windows write it;
// - an absolute path is taken as it is; a relative one is taken in the list's
//   folder, each "\" in it read as "/";
// - a file:// URL (no host, or localhost) gives its decoded path; an entry with
//   any other scheme, or whose path would hold a NUL, is left out.
// Nothing here looks at the file system: an entry may name a missing file, a
// folder or another list.
std::vector<std::string> TrackListEntries(std::string_view listPath, std::string_view bytes);

// The entries of the list file at listPath, as above; none when it is not a
// regular file or cannot be read (it is never opened then: a named pipe would
// keep the window waiting). At most kMaxTrackListBytes are read.
std::vector<std::string> ReadTrackList(const std::string& listPath);

// More than the longest paths of a whole track table need.
inline constexpr std::size_t kMaxTrackListBytes = 4 << 20;
