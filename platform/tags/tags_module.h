#pragma once
// What the tag module exports and the player looks up; nothing else crosses.

#include "platform/track_tags.h"

// Module file, found where the engine's modules are (module_loader.h).
inline constexpr const char* kTagsModule = "liblirvan_tags.so";

// The module's one export: fills tags from the file at path, which the caller
// has found to be a regular file; tags is left as it was where the file has
// none. Any thread. The name carries the version of TrackTags.
extern "C" __attribute__((visibility("default"))) void lirvan_read_tags_v1(const char* path, TrackTags* tags);
inline constexpr const char* kTagsEntry = "lirvan_read_tags_v1";
