#pragma once
// Embedded cover pictures as files the desktop can show: each is written once
// to $XDG_CACHE_HOME/lirvan1/covers/ (~/.cache/lirvan1/covers/ by default) as
// <SHA-256 of its bytes in hex>.<jpg|png|gif|bmp|webp>, atomically, so that a
// name handed out always names a whole picture.

#include <string>

// The cache file of picture (its bytes and its MIME type; a type not given is
// told from the bytes), written if it is not there yet; empty when the kind of
// picture is unknown or the file cannot be written. Blocks on the write: any
// thread but the user interface's.
std::string CachedCover(const std::string& picture, const std::string& mimeType);
