#include "platform/engine/module_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

// Where a module may be, in order. The last is tried even when no such file is
// seen, so that a failure says why.
std::vector<std::string> Places(const char* file, const std::string& folder)
{
    if (!folder.empty()) return {folder + "/" + file};
    const std::filesystem::path built = std::filesystem::path(LIRVAN_BUILD_MODULES) / file;
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    if (error) return {built.string()};
    return {(exe / file).string(), (exe / "../lib/lirvan1" / file).string(), built.string()};
}

} // namespace

void* LoadModuleEntry(const char* file, const std::string& folder, const char* entry, const char* what)
{
    const std::vector<std::string> places = Places(file, folder);
    for (const std::string& place : places) {
        if (&place != &places.back() && access(place.c_str(), F_OK) != 0) continue;
        // A missing library of the module's still fails here.
        void* handle = dlopen(place.c_str(), RTLD_LAZY | RTLD_LOCAL);
        void* found = handle ? dlsym(handle, entry) : nullptr;
        if (found) return found;
        const char* why = dlerror(); // taken before dlclose, which clears it
        std::fprintf(stderr, "lirvan1: cannot load %s: %s\n", what, why ? why : place.c_str());
        if (handle) dlclose(handle);
        return nullptr;
    }
    return nullptr;
}
