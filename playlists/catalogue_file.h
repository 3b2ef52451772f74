#pragma once
// Changing the catalogue on disk: always by writing the whole new catalogue
// beside it and renaming it over the old one, never in place.

#include "platform/text_file.h"

#include <string>

// Puts text in place of the catalogue: written and synced into temporary (the
// file at TemporaryCataloguePath(), opened for writing), then renamed over the
// catalogue, so a failure at any step leaves the old catalogue whole.
bool ReplaceCatalogue(TextFile& temporary, const std::string& text);

// Puts in place of the catalogue its old bytes exactly as they were, every line
// end and lone CR kept, then line and CR LF (after a CR LF of its own when the old
// last line has no line end), the same way as ReplaceCatalogue. Makes the
// catalogue when there is none; false, with the old catalogue whole, when it
// could not be read or the new one not written.
bool AppendCatalogueLine(const std::string& line);
