#pragma once
// file: URLs and the paths they name, as the desktop's doors pass them.

#include <QString>
#include <QUrl>
#include <string>

// The path a file: URL names, in the file system's encoding; empty for any other URL.
std::string LocalPathOf(const QUrl& url);

// The fully encoded file: URL of path (file-system encoding).
QString FileUrlOf(const std::string& path);
