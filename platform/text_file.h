#pragma once
// Text files as the catalogue and playlists keep them: opened in binary, every
// "\n" written as CR LF, and on reading CR LF and a lone LF both give "\n" while
// a lone CR is an ordinary character: the playlist files are CR LF text, and a
// file edited elsewhere with LF line ends still reads line by line.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// The system calls under the text files, replaceable so that tests can make any
// of them fail.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // CreateNew writes a file that must not be there yet: opening one that is
    // fails with errno EEXIST, leaving it untouched.
    enum class Access { Read, Write, Append, CreateNew };
    // A descriptor, or -1 with errno saying why.
    virtual int Open(const std::string& path, Access access) = 0;
    // Bytes read, 0 at the end, -1 on an error.
    virtual long Read(int fd, char* buffer, std::size_t size) = 0;
    // Bytes written, -1 on an error.
    virtual long Write(int fd, const char* data, std::size_t size) = 0;
    virtual bool Sync(int fd) = 0;
    virtual bool Close(int fd) = 0;
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
};

// The file system in use: the real one unless a test installed another.
FileSystem& CurrentFileSystem();
// Installs fs (nullptr restores the real one); the caller keeps ownership.
void InstallFileSystem(FileSystem* fs);

// Writes bytes to fd as they are, retrying short writes; false when any byte
// could not be written.
bool WriteAll(FileSystem& fs, int fd, std::string_view bytes);

class TextFile {
public:
    using Access = FileSystem::Access;
    // Null when the file cannot be opened, with errno saying why.
    static std::unique_ptr<TextFile> Open(const std::string& path, Access access);
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // The next character, '\n' for a line end, EOF at the end of the file or on a read error.
    int GetChar();
    // Whether a read failed: the characters got so far are not the whole file.
    bool ReadFailed() const { return m_readFailed; }
    // Writes text with every "\n" as CR LF; false when any byte could not be written.
    bool Put(std::string_view text);
    // Forces what was written onto the disk.
    bool Sync();
    // False when the close failed; a destroyed file that was not closed is closed quietly.
    bool Close();

private:
    explicit TextFile(int fd) : m_fd(fd) { }
    bool Fill();

    int m_fd;
    char m_buffer[4096];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_readFailed = false;
};

// Appends to bytes the file's bytes as they lie on disk, at most limit of them;
// false when it cannot be opened (errno says why) or a read failed (errno EIO).
bool ReadFileBytes(const std::string& path, std::string& bytes, std::size_t limit = SIZE_MAX);

bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
