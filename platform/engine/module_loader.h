#pragma once
// Finding and loading the player's own modules (the engine, the decoders), which
// hold the libraries a session may never need, so that the player starts without
// them.

#include <string>

// Looks for `file` beside the executable, where an installed player keeps it
// (../lib/lirvan1/ from the executable), then in the build tree's folder for the
// programs built there; only in `folder` when that is not empty. Loads the first
// one there with lazy binding (only the functions called get resolved) and
// returns its export `entry`. On failure says why on standard error in one line,
// naming `what` ("the decoders"), and returns nullptr. Any thread; the caller
// loads each module once. A module is never unloaded.
void* LoadModuleEntry(const char* file, const std::string& folder, const char* entry, const char* what);
