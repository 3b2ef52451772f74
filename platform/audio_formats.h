#pragma once
// The formats the player plays, by file-name extension and MIME type, and the
// lists of other players it reads. The one table that folder expansion, the
// desktop entry, MPRIS and the list reader take their formats from; the file
// chooser's filters are the window's own and keep to their seven.

#include <span>
#include <string>
#include <string_view>
#include <vector>

struct FileFormat {
    std::string_view extension; // lower case, without the dot
    std::string_view mimeType;  // the desktop's name for files of that extension
};

// Every audio format the engine plays, one row per extension.
std::span<const FileFormat> AudioFormats();
// M3U, M3U8 and PLS: lists of tracks that open as the tracks they name.
std::span<const FileFormat> TrackListFormats();

// Whether the name ends in "." and extension (lower case), in any letter case.
bool HasExtension(std::string_view name, std::string_view extension);
// Whether the name ends in "." and an extension of the table, in any letter case.
bool IsAudioFileName(std::string_view name);
bool IsTrackListName(std::string_view name);

// The MIME types of the audio formats and then of the lists, each once, in the
// tables' order: what the player offers to open.
std::vector<std::string> OpenedMimeTypes();
