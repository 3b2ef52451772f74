#pragma once
// The catalogue as a deletion leaves it.

#include "platform/text_file.h"

#include <string>

struct CatalogueWithout {
    // Every line but the left-out one, each with its line end; empty lines dropped.
    std::string text;
    // The left-out line up to its first "*": the file of the deleted playlist.
    std::string deletedPath;
};

// Reads the catalogue and leaves out its physical line `line` (from 0).
CatalogueWithout CopyCatalogueWithout(TextFile& catalogue, int line);
