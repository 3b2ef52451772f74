#include "platform/text_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

class PosixFileSystem final : public FileSystem {
public:
    int Open(const std::string& path, Access access) override
    {
        int flags = O_CLOEXEC;
        switch (access) {
        case Access::Read: flags |= O_RDONLY; break;
        case Access::Write: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
        case Access::Append: flags |= O_WRONLY | O_CREAT | O_APPEND; break;
        case Access::CreateNew: flags |= O_WRONLY | O_CREAT | O_EXCL; break;
        }
        int fd;
        do {
            fd = ::open(path.c_str(), flags, 0666);
        } while (fd < 0 && errno == EINTR);
        return fd;
    }
    long Read(int fd, char* buffer, std::size_t size) override
    {
        ssize_t n;
        do {
            n = ::read(fd, buffer, size);
        } while (n < 0 && errno == EINTR);
        return n;
    }
    long Write(int fd, const char* data, std::size_t size) override
    {
        ssize_t n;
        do {
            n = ::write(fd, data, size);
        } while (n < 0 && errno == EINTR);
        return n;
    }
    bool Sync(int fd) override { return ::fsync(fd) == 0; }
    bool Close(int fd) override { return ::close(fd) == 0; }
    bool Rename(const std::string& from, const std::string& to) override
    {
        return ::rename(from.c_str(), to.c_str()) == 0;
    }
    bool Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }
};

PosixFileSystem g_posix;
FileSystem* g_current = &g_posix;

} // namespace

FileSystem& CurrentFileSystem() { return *g_current; }

void InstallFileSystem(FileSystem* fs) { g_current = fs ? fs : &g_posix; }

bool WriteAll(FileSystem& fs, int fd, std::string_view bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const long n = fs.Write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::unique_ptr<TextFile> TextFile::Open(const std::string& path, Access access)
{
    int fd = CurrentFileSystem().Open(path, access);
    if (fd < 0) return nullptr;
    return std::unique_ptr<TextFile>(new TextFile(fd));
}

TextFile::~TextFile()
{
    if (m_fd >= 0) CurrentFileSystem().Close(m_fd);
}

bool TextFile::Fill()
{
    if (m_eof) return false;
    long n = CurrentFileSystem().Read(m_fd, m_buffer, sizeof m_buffer);
    if (n <= 0) {
        m_eof = true;
        m_readFailed = n < 0;
        return false;
    }
    m_pos = 0;
    m_end = static_cast<std::size_t>(n);
    return true;
}

int TextFile::GetChar()
{
    if (m_fd < 0 || (m_pos == m_end && !Fill())) return EOF;
    char c = m_buffer[m_pos++];
    if (c != '\r') return static_cast<unsigned char>(c);
    // CR LF is one line end; a lone CR stays an ordinary character.
    if (m_pos == m_end && !Fill()) return '\r';
    if (m_buffer[m_pos] == '\n') {
        ++m_pos;
        return '\n';
    }
    return '\r';
}

bool TextFile::Put(std::string_view text)
{
    if (m_fd < 0) return false;
    std::string bytes;
    bytes.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return WriteAll(CurrentFileSystem(), m_fd, bytes);
}

bool TextFile::Sync() { return m_fd >= 0 && CurrentFileSystem().Sync(m_fd); }

bool TextFile::Close()
{
    if (m_fd < 0) return false;
    int fd = m_fd;
    m_fd = -1;
    return CurrentFileSystem().Close(fd);
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::size_t limit)
{
    FileSystem& fs = CurrentFileSystem();
    const int fd = fs.Open(path, FileSystem::Access::Read);
    if (fd < 0) return false;
    char buffer[4096];
    long n = 0;
    for (std::size_t left = limit; left > 0; left -= static_cast<std::size_t>(n)) {
        n = fs.Read(fd, buffer, std::min(sizeof buffer, left));
        if (n <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    fs.Close(fd);
    if (n >= 0) return true;
    errno = EIO;
    return false;
}

bool RemoveFile(const std::string& path) { return CurrentFileSystem().Remove(path); }

bool RenameFile(const std::string& from, const std::string& to)
{
    return CurrentFileSystem().Rename(from, to);
}
