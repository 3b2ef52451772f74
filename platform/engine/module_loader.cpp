#include "platform/engine/module_loader.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

// Constant-initialised, so that a static initializer of another file may set it.
const char* g_buildTree = nullptr;

// The file of the binary this code is linked into: the executable itself, or
// the engine module, which carries its own copy of the loader. Found by the
// address of this file's own data, which no other binary can stand in for.
std::filesystem::path ThisBinary()
{
    Dl_info info{};
    link_map* map = nullptr;
    if (dladdr1(static_cast<const void*>(&g_buildTree), &info, reinterpret_cast<void**>(&map),
                RTLD_DL_LINKMAP) != 0 &&
        map && map->l_name && map->l_name[0] != '\0')
        return map->l_name;
    // The executable's own entry has no name.
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

// Where a module may be, in order. The last is tried even when no such file is
// seen, so that a failure says why.
std::vector<std::string> Places(const char* file, const std::string& folder)
{
    if (!folder.empty()) return {folder + "/" + file};
    if (g_buildTree) return {std::string(g_buildTree) + "/" + file};
    std::vector<std::string> places;
    const std::filesystem::path self = ThisBinary();
    if (!self.empty()) places.push_back((self.parent_path() / file).string());
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::string installed = (exe.parent_path() / LIRVAN_MODULES_FROM_EXE / file).string();
        if (places.empty() || places.back() != installed) places.push_back(installed);
    }
    return places;
}

} // namespace

void* LoadModuleEntry(const char* file, const std::string& folder, const char* entry, const char* what)
{
    const std::vector<std::string> places = Places(file, folder);
    if (places.empty())
        std::fprintf(stderr, "lirvan1: cannot load %s: no folder to find %s in\n", what, file);
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

void LoadModulesFromBuildTree(const char* folder) { g_buildTree = folder; }
