#pragma once
// A file system that passes every call to the one it replaces, except the calls
// a test tells it to fail. While it lives it is the file system in use.
//
// A failing call does what a real failure does: an Open gives no descriptor (and
// errno EIO), a
// Read or Write gives -1, a Close still releases the descriptor but reports
// false, and a Sync, Rename or Remove leaves the disk as it was.

#include "platform/text_file.h"

#include <array>
#include <cerrno>
#include <map>
#include <string>
#include <vector>

class FailingFileSystem final : public FileSystem {
public:
    enum class Op { Open, Read, Write, Sync, Close, Rename, Remove };
    static constexpr std::size_t kOps = 7;

    FailingFileSystem() : m_real(CurrentFileSystem()) { InstallFileSystem(this); }
    ~FailingFileSystem() override { InstallFileSystem(&m_real); }
    FailingFileSystem(const FailingFileSystem&) = delete;
    FailingFileSystem& operator=(const FailingFileSystem&) = delete;

    // Every later call of op fails on a path that holds pathPart (any path when
    // empty); for Read, Write, Sync and Close the path is the one that was opened,
    // for Rename the source or the target.
    void FailEvery(Op op, std::string pathPart = "") { m_rules.push_back({op, 0, pathPart}); }
    // Only the nth call of op from now on (1 for the next one) fails, whatever its path.
    void FailNth(Op op, int n) { m_rules.push_back({op, Calls(op) + n, ""}); }
    // Calls of op so far, failed ones included.
    int Calls(Op op) const { return m_calls[Index(op)]; }

    int Open(const std::string& path, Access access) override
    {
        if (Fails(Op::Open, path)) {
            errno = EIO;
            return -1;
        }
        const int fd = m_real.Open(path, access);
        if (fd >= 0) m_paths[fd] = path;
        return fd;
    }
    long Read(int fd, char* buffer, std::size_t size) override
    {
        return Fails(Op::Read, m_paths[fd]) ? -1 : m_real.Read(fd, buffer, size);
    }
    long Write(int fd, const char* data, std::size_t size) override
    {
        return Fails(Op::Write, m_paths[fd]) ? -1 : m_real.Write(fd, data, size);
    }
    bool Sync(int fd) override { return !Fails(Op::Sync, m_paths[fd]) && m_real.Sync(fd); }
    bool Close(int fd) override
    {
        const bool fails = Fails(Op::Close, m_paths[fd]);
        m_paths.erase(fd);
        return m_real.Close(fd) && !fails;
    }
    bool Rename(const std::string& from, const std::string& to) override
    {
        return !Fails(Op::Rename, from, to) && m_real.Rename(from, to);
    }
    bool Remove(const std::string& path) override { return !Fails(Op::Remove, path) && m_real.Remove(path); }

private:
    struct Rule {
        Op op;
        int call; // 0: every call
        std::string pathPart;
    };
    static std::size_t Index(Op op) { return static_cast<std::size_t>(op); }

    bool Fails(Op op, const std::string& path, const std::string& otherPath = "")
    {
        const int call = ++m_calls[Index(op)];
        for (const Rule& rule : m_rules) {
            if (rule.op != op || (rule.call != 0 && rule.call != call)) continue;
            if (rule.pathPart.empty() || path.find(rule.pathPart) != std::string::npos ||
                otherPath.find(rule.pathPart) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    FileSystem& m_real;
    std::vector<Rule> m_rules;
    std::array<int, kOps> m_calls{};
    std::map<int, std::string> m_paths;
};
