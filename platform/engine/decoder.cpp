#include "platform/engine/decoder.h"

#include "platform/engine/decoder_module.h"
#include "platform/engine/module_loader.h"

#include <strings.h>

#include <array>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>

namespace {

// A module, loaded at most once per setting of the folder: its entry once it
// has loaded, nullptr before and after a failed load.
struct Module {
    const char* file;
    bool tried = false;
    decltype(&lirvan_open_decoder_v1) entry = nullptr;
};

std::mutex g_mutex;   // guards everything below
std::string g_folder; // from UseDecoderModulesFrom; empty for the usual places
Module g_mpg123{kMpg123Module};
Module g_ffmpeg{kFfmpegModule};
Module g_midi{kMidiModule};

bool HasSuffix(const char* path, const char* suffix)
{
    const std::size_t length = std::strlen(path), suffixLength = std::strlen(suffix);
    return length >= suffixLength && strcasecmp(path + length - suffixLength, suffix) == 0;
}

// The first bytes of the file; zeros where it is shorter or cannot be read.
std::array<unsigned char, 4> Head(const char* path)
{
    std::array<unsigned char, 4> head{};
    std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(head.data()), head.size());
    return head;
}

// True for a file FluidSynth should play: a .mid or .midi name, or "MThd" first.
bool LooksLikeMidi(const char* path, const std::array<unsigned char, 4>& head)
{
    return HasSuffix(path, ".mid") || HasSuffix(path, ".midi") || std::memcmp(head.data(), "MThd", 4) == 0;
}

// True for MPEG audio as an MP3 file starts: an ID3v2 tag, or the header of
// an MPEG audio frame (11 sync bits, then no reserved version, layer, bit
// rate or sampling rate). A name is not enough: a WAV called .mp3 is FFmpeg's.
bool LooksLikeMpegAudio(const std::array<unsigned char, 4>& head)
{
    if (std::memcmp(head.data(), "ID3", 3) == 0) return true;
    const unsigned version = (head[1] >> 3) & 3, layer = (head[1] >> 1) & 3;
    const unsigned bitRate = head[2] >> 4, samplingRate = (head[2] >> 2) & 3;
    return head[0] == 0xFF && (head[1] & 0xE0) == 0xE0 && version != 1 && layer != 0 && bitRate != 15 &&
        samplingRate != 3;
}

// The module's decoder for the file, loading the module the first time;
// nullptr when it cannot be loaded or refuses the file.
std::unique_ptr<Decoder> OpenWith(Module& module, const char* path)
{
    decltype(module.entry) entry;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!module.tried) {
            // Says on standard error, in one line, why it cannot.
            module.tried = true;
            module.entry = reinterpret_cast<decltype(module.entry)>(
                LoadModuleEntry(module.file, g_folder, kDecoderEntry, "the decoders"));
        }
        entry = module.entry;
    }
    return std::unique_ptr<Decoder>(entry ? entry(path) : nullptr);
}

} // namespace

std::unique_ptr<Decoder> OpenDecoder(const char* path)
{
    const std::array<unsigned char, 4> head = Head(path);
    if (LooksLikeMidi(path, head)) return OpenWith(g_midi, path);
    if (LooksLikeMpegAudio(head)) {
        if (std::unique_ptr<Decoder> decoder = OpenWith(g_mpg123, path)) return decoder;
    }
    return OpenWith(g_ffmpeg, path);
}

void UseDecoderModulesFrom(std::string folder)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_folder = std::move(folder);
    // Modules already loaded stay: decoders they made may still be playing.
    g_mpg123 = Module{kMpg123Module};
    g_ffmpeg = Module{kFfmpegModule};
    g_midi = Module{kMidiModule};
}
