#include "fuzz_input.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

MemoryFileSystem::MemoryFileSystem() { InstallFileSystem(this); }

MemoryFileSystem::~MemoryFileSystem() { InstallFileSystem(nullptr); }

int MemoryFileSystem::Open(const std::string& path, Access access)
{
    auto found = files.find(path);
    if (access == Access::Read && found == files.end()) {
        errno = ENOENT;
        return -1;
    }
    if (access == Access::CreateNew && found != files.end()) {
        errno = EEXIST;
        return -1;
    }
    if (access == Access::Write) files[path].clear();
    if (access == Access::Append || access == Access::CreateNew) files[path];
    const int fd = m_nextFd++;
    m_open[fd] = {path, 0};
    return fd;
}

long MemoryFileSystem::Read(int fd, char* buffer, std::size_t size)
{
    OpenFile& file = m_open.at(fd);
    const std::string& bytes = files[file.path];
    const std::size_t n = std::min(size, bytes.size() - std::min(file.position, bytes.size()));
    std::copy_n(bytes.data() + file.position, n, buffer);
    file.position += n;
    return static_cast<long>(n);
}

long MemoryFileSystem::Write(int fd, const char* data, std::size_t size)
{
    files[m_open.at(fd).path].append(data, size);
    return static_cast<long>(size);
}

bool MemoryFileSystem::Close(int fd) { return m_open.erase(fd) == 1; }

bool MemoryFileSystem::Rename(const std::string& from, const std::string& to)
{
    auto found = files.find(from);
    if (found == files.end()) return false;
    std::string bytes = std::move(found->second);
    files.erase(found);
    files[to] = std::move(bytes);
    return true;
}

bool MemoryFileSystem::Remove(const std::string& path) { return files.erase(path) == 1; }

Lines SplitLines(std::string_view text)
{
    Lines lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if (text[i] == '\n' || crlf) {
            lines.terminated.push_back(std::move(lines.tail));
            lines.tail.clear();
            i += crlf;
        } else {
            lines.tail += text[i];
        }
    }
    return lines;
}

void Require(bool holds, const char* property)
{
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}
