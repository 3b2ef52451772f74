#pragma once
// Whether a path names a regular file (after following links): the one kind of
// file the player opens as a track. A named pipe, a device, a socket or a folder
// would block an open or never end, so every place that takes a path as a track
// asks this first. Never blocks: it looks at the file's type, it opens nothing.

bool IsRegularFile(const char* path);
