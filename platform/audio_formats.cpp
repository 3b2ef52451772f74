#include "platform/audio_formats.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array kAudioFormats = {
    FileFormat{"mp3", "audio/mpeg"},        FileFormat{"mp2", "audio/mp2"},
    FileFormat{"mid", "audio/midi"},        FileFormat{"midi", "audio/midi"},
    FileFormat{"wav", "audio/x-wav"},       FileFormat{"aiff", "audio/x-aiff"},
    FileFormat{"aif", "audio/x-aiff"},      FileFormat{"flac", "audio/flac"},
    FileFormat{"oga", "audio/ogg"},         FileFormat{"ogg", "audio/x-vorbis+ogg"},
    FileFormat{"opus", "audio/x-opus+ogg"}, FileFormat{"m4a", "audio/mp4"},
    FileFormat{"aac", "audio/aac"},         FileFormat{"wma", "audio/x-ms-wma"},
    FileFormat{"asf", "video/x-ms-asf"},    FileFormat{"mka", "audio/x-matroska"},
    FileFormat{"webm", "audio/webm"},       FileFormat{"wv", "audio/x-wavpack"},
    FileFormat{"avi", "video/x-msvideo"},   FileFormat{"mpeg", "video/mpeg"},
    FileFormat{"mpg", "video/mpeg"},
};

constexpr std::array kTrackListFormats = {
    FileFormat{"m3u", "audio/x-mpegurl"},
    FileFormat{"m3u8", "application/vnd.apple.mpegurl"},
    FileFormat{"pls", "audio/x-scpls"},
};

bool HasExtensionOf(std::string_view name, std::span<const FileFormat> formats)
{
    return std::any_of(formats.begin(), formats.end(),
                       [&](const FileFormat& format) { return HasExtension(name, format.extension); });
}

} // namespace

bool HasExtension(std::string_view name, std::string_view extension)
{
    if (name.size() <= extension.size() + 1) return false;
    const std::size_t dot = name.size() - extension.size() - 1;
    // A name that is only the extension (".mp3", "folder/.mp3") has none.
    if (name[dot] != '.' || name[dot - 1] == '/') return false;
    return std::equal(extension.begin(), extension.end(), name.begin() + dot + 1, [](char wanted, char c) {
        return wanted == (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    });
}

std::span<const FileFormat> AudioFormats() { return kAudioFormats; }

std::span<const FileFormat> TrackListFormats() { return kTrackListFormats; }

bool IsAudioFileName(std::string_view name) { return HasExtensionOf(name, kAudioFormats); }

bool IsTrackListName(std::string_view name) { return HasExtensionOf(name, kTrackListFormats); }

std::vector<std::string> OpenedMimeTypes()
{
    std::vector<std::string> types;
    for (std::span<const FileFormat> formats : {AudioFormats(), TrackListFormats()}) {
        for (const FileFormat& format : formats) {
            if (std::find(types.begin(), types.end(), format.mimeType) == types.end()) {
                types.emplace_back(format.mimeType);
            }
        }
    }
    return types;
}
