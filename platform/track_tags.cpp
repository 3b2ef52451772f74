#include "platform/track_tags.h"

#include "platform/engine/module_loader.h"
#include "platform/regular_file.h"
#include "platform/tags/tags_module.h"

namespace {

using ReadTags = void (*)(const char*, TrackTags*);

// Loaded at the first read and never again tried after a failure; a static's
// initialisation is safe when several threads come at once.
ReadTags Reader()
{
    static const auto reader =
        reinterpret_cast<ReadTags>(LoadModuleEntry(kTagsModule, {}, kTagsEntry, "the tag reader"));
    return reader;
}

} // namespace

TrackTags ReadTrackTags(const std::string& path)
{
    TrackTags tags;
    // A named pipe or a device would hold the reading for good.
    if (!IsRegularFile(path.c_str())) return tags;
    if (const ReadTags reader = Reader()) reader(path.c_str(), &tags);
    return tags;
}
