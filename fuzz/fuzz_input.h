#pragma once
// What the fuzz targets share: files kept in memory behind the text-file layer,
// so a reader sees the input as a file without touching the disk, and a check
// that stops the run on a broken property as libFuzzer expects of a finding.

#include "platform/text_file.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// While it lives it is the file system in use; every file is a string in files.
class MemoryFileSystem final : public FileSystem {
public:
    MemoryFileSystem();
    ~MemoryFileSystem() override;
    MemoryFileSystem(const MemoryFileSystem&) = delete;
    MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

    std::map<std::string, std::string> files;

    int Open(const std::string& path, Access access) override;
    long Read(int fd, char* buffer, std::size_t size) override;
    long Write(int fd, const char* data, std::size_t size) override;
    bool Sync(int) override { return true; }
    bool Close(int fd) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;

private:
    struct OpenFile {
        std::string path;
        std::size_t position = 0;
    };
    std::map<int, OpenFile> m_open;
    int m_nextFd = 3;
};

// The lines of a text file as the player reads them: each ends at CR LF or a lone
// LF, which are taken off; a lone CR is an ordinary character.
struct Lines {
    std::vector<std::string> terminated;
    std::string tail; // the text after the last line end
};
Lines SplitLines(std::string_view text);

// Stops the run with what broke when holds is false: libFuzzer keeps the input.
void Require(bool holds, const char* property);
