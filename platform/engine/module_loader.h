#pragma once
// Finding and loading the player's own modules (the engine, the decoders), which
// hold the libraries a session may never need, so that the player starts without
// them.
//
// A module is looked for only relative to the binary that loads it, never in a
// folder named when the player was built: beside that binary (the executable of
// a portable folder, or the engine module beside its decoders), then in the
// installed module folder relative to the executable (LIRVAN_MODULES_FROM_EXE,
// ../lib/<multiarch triplet>/lirvan1 for the package).

#include <string>

// Loads `file` from `folder` when that is not empty, else from the build-tree
// folder when LoadModulesFromBuildTree named one, else from the places above:
// the first one there, with lazy binding (only the functions called get
// resolved), and returns its export `entry`. On failure says why on standard
// error in one line, naming `what` ("the decoders"), and returns nullptr. Any
// thread; the caller loads each module once. A module is never unloaded.
void* LoadModuleEntry(const char* file, const std::string& folder, const char* entry, const char* what);

// For the programs of the build tree that do not sit beside the modules (tests,
// benchmarks, fuzz targets): every later load with no folder of its own looks
// only in `folder`, which must live to the end of the process (a literal).
// Called before the first load, from a static initializer; the player never
// calls it. Modules that load modules (the engine) still find theirs beside
// themselves.
void LoadModulesFromBuildTree(const char* folder);
