#pragma once
// The platform file chooser: multi-select, in the shape the track walk reads.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class QWidget;

// What the chooser hands back when the user confirms. With several files chosen,
// buffer holds the folder, NUL, each name followed by NUL, and one more NUL, and
// fileOffset points at the first name; with one file it holds that file's whole
// path and NUL NUL, and fileOffset points at the file-name part of the path.
struct ChooserResult {
    std::string buffer;
    std::size_t fileOffset = 0;
};

// The result for these files (whole paths in the file system's encoding, in
// order; at least one): one file as its whole path; several as the folder of the
// first and each file's path relative to it.
ChooserResult ChooserResultFor(const std::vector<std::string>& paths);

struct ChooserRequest {
    // Shown text and pattern, in order; the first pair is the initial filter.
    std::vector<std::pair<std::string, std::string>> filters;
    std::string defaultExtension;
    bool allowMultiSelect = false;
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // 1 when the user chose files (result filled), anything else when cancelled.
    virtual int GetOpenFileName(const ChooserRequest& request, ChooserResult& result) = 0;
};
