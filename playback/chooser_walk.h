#pragma once
// Reading the file chooser's answer into the paths of the chosen files.

#include "platform/file_chooser.h"

#include <string>
#include <vector>

// The chosen files' paths, in the chooser's order. Each name is joined to the
// folder string (the buffer up to its first NUL) with "/"; a joined path that
// is not a regular file opening for reading is cut back at its last "/". That
// tells the two shapes apart: with one file chosen the folder string is already
// the file's path, and the cut gives it back. Paths are kept whole, however long.
std::vector<std::string> WalkChooserResult(const ChooserResult& result);
