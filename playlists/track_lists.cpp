#include "playlists/track_lists.h"

#include "platform/audio_formats.h"
#include "platform/regular_file.h"
#include "platform/text_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace {

// Windows-1251 from 0x80 to 0xBF; 0xC0..0xFF are А..я in order. 0x98 names no character.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Utf8FromCp1251(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (const char byte : text) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x80) {
            out += byte;
        } else if (b < 0xC0) {
            AppendUtf8(out, kCp1251High[b - 0x80]);
        } else {
            AppendUtf8(out, 0x0410 + (b - 0xC0));
        }
    }
    return out;
}

// Well-formed UTF-8: no stray or missing continuation bytes, no overlong forms,
// no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length;
        char32_t c;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            c = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
        std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The lines of text, LF or CR LF ended, a last one without its line end too.
std::vector<std::string_view> LinesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// The scheme of a URL ("file" of "file:///a"): letters, digits, "+", "-" and
// "." after a letter, then ":"; two characters at least, so "C:\" is none.
std::string_view SchemeOf(std::string_view entry)
{
    const std::size_t colon = entry.find(':');
    if (colon == std::string_view::npos || colon < 2) return {};
    const auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!isAlpha(entry[0])) return {};
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = entry[i];
        if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return {};
    }
    return entry.substr(0, colon);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The path of a file:// URL with every %XX decoded; empty for another host.
std::string PathOfFileUrl(std::string_view url)
{
    url.remove_prefix(5); // "file:"
    if (url.starts_with("//")) {
        url.remove_prefix(2);
        const std::size_t slash = url.find('/');
        if (slash == std::string_view::npos) return {};
        const std::string_view host = url.substr(0, slash);
        if (!host.empty() && host != "localhost") return {};
        url.remove_prefix(slash);
    }
    if (!url.starts_with('/')) return {};
    std::string path;
    for (std::size_t i = 0; i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size() && HexValue(url[i + 1]) >= 0 && HexValue(url[i + 2]) >= 0) {
            path += static_cast<char>(HexValue(url[i + 1]) * 16 + HexValue(url[i + 2]));
            i += 2;
        } else {
            path += url[i];
        }
    }
    return path;
}

// The entry as a path, empty when it is to be left out.
std::string PathOfEntry(std::string_view folder, std::string_view entry)
{
    const std::string_view scheme = SchemeOf(entry);
    std::string path;
    if (!scheme.empty()) {
        if (EqualsIgnoringCase(scheme, "file")) path = PathOfFileUrl(entry);
    } else if (entry.starts_with('/')) {
        path = entry;
    } else {
        path = folder;
        path += '/';
        for (const char c : entry) path += c == '\\' ? '/' : c;
    }
    // No file's path holds a NUL: it would end the path early wherever it went.
    if (path.find('\0') != std::string::npos) return {};
    return path;
}

// The entries of a PLS, "FileN=entry" in the order of N (the order written
// where two share a number).
std::vector<std::string_view> PlsEntries(const std::vector<std::string_view>& lines)
{
    std::vector<std::pair<long, std::string_view>> numbered;
    for (const std::string_view line : lines) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals < 5 ||
            !EqualsIgnoringCase(line.substr(0, 4), "file")) {
            continue;
        }
        long number = 0;
        bool digits = true;
        for (const char c : line.substr(4, equals - 4)) {
            if (c < '0' || c > '9') {
                digits = false;
            } else if (number < 1'000'000'000) {
                number = number * 10 + (c - '0');
            }
        }
        if (digits) numbered.emplace_back(number, Trimmed(line.substr(equals + 1)));
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string_view> entries;
    for (const auto& [number, entry] : numbered) entries.push_back(entry);
    return entries;
}

} // namespace

std::vector<std::string> TrackListEntries(std::string_view listPath, std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    std::string decoded;
    if (HasExtension(listPath, "m3u") && !IsValidUtf8(bytes)) {
        decoded = Utf8FromCp1251(bytes);
        bytes = decoded;
    }
    const std::vector<std::string_view> lines = LinesOf(bytes);
    std::vector<std::string_view> entries;
    if (HasExtension(listPath, "pls")) {
        entries = PlsEntries(lines);
    } else {
        for (const std::string_view line : lines) entries.push_back(Trimmed(line));
    }
    const std::size_t slash = listPath.rfind('/');
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view(".") : listPath.substr(0, slash);
    std::vector<std::string> paths;
    for (const std::string_view entry : entries) {
        if (entry.empty() || entry.starts_with('#')) continue;
        std::string path = PathOfEntry(folder, entry);
        if (!path.empty()) paths.push_back(std::move(path));
    }
    return paths;
}

std::vector<std::string> ReadTrackList(const std::string& listPath)
{
    std::string bytes;
    if (!IsRegularFile(listPath.c_str()) || !ReadFileBytes(listPath, bytes, kMaxTrackListBytes)) return {};
    return TrackListEntries(listPath, bytes);
}
