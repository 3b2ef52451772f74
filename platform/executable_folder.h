#pragma once
// The application folder, ending in "/": where the folder pl lives. It is the
// running executable's folder when a pl folder is there (a portable folder, the
// build tree after scripts/run), whether or not it can be written; otherwise the
// user's data folder $XDG_DATA_HOME/lirvan1/ (by default ~/.local/share/lirvan1/),
// created with its pl/ on first start. The executable's folder is never written
// to unless its pl/ exists. Every catalogue and playlist path is built from it.

#include <string>

// The application folder for this process, decided at the first call and kept
// to the end. Called on the user-interface thread; the first call may create
// the user's data folder, and answers that folder even when it could not be
// created (the file operations then fail as on a missing pl/).
std::string ExecutableFolder();

// Makes ExecutableFolder() answer folder (which must end in "/"); an empty
// string restores the real answer. Tests use it to stand a temporary folder in.
void OverrideExecutableFolder(const std::string& folder);

// The rule itself: exeFolder when it holds a pl folder, else the lirvan1 folder
// in the user's data folder, which is xdgDataHome when that is an absolute path,
// else home + "/.local/share"; created with its pl/ when missing. With neither
// an absolute xdgDataHome nor a home, exeFolder, where nothing is then made.
// Null strings are absent.
std::string ApplicationFolder(const std::string& exeFolder, const char* xdgDataHome, const char* home);
