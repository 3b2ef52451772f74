#include "platform/engine/decoder.h"

#include "platform/engine/decoder_module.h"

#include <dlfcn.h>
#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

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

// Where a module may be, in order: beside the executable, where an installed
// player keeps it, and the build tree's folder for the programs built there.
// The last is tried even when no such file is seen, so that a failure says why.
std::vector<std::string> Places(const char* file)
{
    if (!g_folder.empty()) return {g_folder + "/" + file};
    const std::filesystem::path built = std::filesystem::path(LIRVAN_BUILD_MODULES) / file;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    if (error) return {built.string()};
    return {(folder / file).string(), (folder / "../lib/lirvan1" / file).string(), built.string()};
}

// Loads the module, once; says on standard error, in one line, why it cannot.
void Load(Module& module)
{
    module.tried = true;
    const std::vector<std::string> places = Places(module.file);
    for (const std::string& place : places) {
        if (&place != &places.back() && access(place.c_str(), F_OK) != 0) continue;
        // Lazy binding: of FFmpeg's many libraries only the functions called
        // get resolved. A missing library still fails here.
        void* handle = dlopen(place.c_str(), RTLD_LAZY | RTLD_LOCAL);
        if (handle) module.entry = reinterpret_cast<decltype(module.entry)>(dlsym(handle, kDecoderEntry));
        if (module.entry) return;
        const char* why = dlerror(); // taken before dlclose, which clears it
        std::fprintf(stderr, "lirvan1: cannot load the decoders: %s\n", why ? why : place.c_str());
        if (handle) dlclose(handle);
        return;
    }
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
