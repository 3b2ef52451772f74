#pragma once
// The folder of the running executable, ending in "/": where the folder pl lives.

#include <string>

std::string ExecutableFolder();
// Makes ExecutableFolder() answer folder (which must end in "/"); an empty
// string restores the real answer. Tests use it to stand a temporary folder in.
void OverrideExecutableFolder(const std::string& folder);
