#include "platform/engine/decoder.h"

#include "platform/engine/decoder_module.h"
#include "platform/engine/module_loader.h"

#include <strings.h>

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
Module g_ffmpeg{kFfmpegModule};
Module g_midi{kMidiModule};

bool HasSuffix(const char* path, const char* suffix)
{
    const std::size_t length = std::strlen(path), suffixLength = std::strlen(suffix);
    return length >= suffixLength && strcasecmp(path + length - suffixLength, suffix) == 0;
}

// True for a file FluidSynth should play: a .mid or .midi name, or "MThd" first.
bool LooksLikeMidi(const char* path)
{
    if (HasSuffix(path, ".mid") || HasSuffix(path, ".midi")) return true;
    char header[4] = {};
    std::ifstream file(path, std::ios::binary);
    return file.read(header, sizeof header) && std::memcmp(header, "MThd", 4) == 0;
}

// Loads the module, once; says on standard error, in one line, why it cannot.
void Load(Module& module)
{
    module.tried = true;
    module.entry = reinterpret_cast<decltype(module.entry)>(
        LoadModuleEntry(module.file, g_folder, kDecoderEntry, "the decoders"));
}

} // namespace

std::unique_ptr<Decoder> OpenDecoder(const char* path)
{
    Module& module = LooksLikeMidi(path) ? g_midi : g_ffmpeg;
    decltype(module.entry) entry;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!module.tried) Load(module);
        entry = module.entry;
    }
    return std::unique_ptr<Decoder>(entry ? entry(path) : nullptr);
}

void UseDecoderModulesFrom(std::string folder)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_folder = std::move(folder);
    // Modules already loaded stay: decoders they made may still be playing.
    g_ffmpeg = Module{kFfmpegModule};
    g_midi = Module{kMidiModule};
}
