#pragma once
// The application folder, ending in "/": where the folder pl lives. It is the
// running executable's folder when that can be written (a portable folder, the
// build tree); otherwise (an installed /usr/bin/lirvan1) the user's data folder
// $XDG_DATA_HOME/lirvan1/ (by default ~/.local/share/lirvan1/), created with its
// pl/ on first use. Every catalogue and playlist path is built from it.

#include <string>

// The application folder for this process. Called on the user-interface thread;
// it may create the user's data folder, and answers that folder even when it
// could not be created (the file operations then fail as on a missing pl/).
std::string ExecutableFolder();

// Makes ExecutableFolder() answer folder (which must end in "/"); an empty
// string restores the real answer. Tests use it to stand a temporary folder in.
void OverrideExecutableFolder(const std::string& folder);

// Whether the player may write into a folder ending in "/".
using FolderWritableCheck = bool (*)(const std::string& folder);
// Replaces the writability check (nullptr restores the real one, access(2)
// with W_OK), so tests running as root can see a folder as read-only.
void SetFolderWritableCheck(FolderWritableCheck check);

// The rule itself: exeFolder when writable says so, else the lirvan1 folder in
// the user's data folder, which is xdgDataHome when that is an absolute path,
// else home + "/.local/share"; created with its pl/ when missing. With neither
// an absolute xdgDataHome nor a home, exeFolder. Null strings are absent.
std::string ApplicationFolder(const std::string& exeFolder, FolderWritableCheck writable,
                              const char* xdgDataHome, const char* home);
