// Every file operation of creating a playlist, adding a track and saving, saving,
// and deleting a playlist made to fail in turn, each call of each kind once, with
// the window's answer checked afterwards: the catalogue on disk is the old one or
// the new one, whole; every playlist it names has its file; whatever did not
// become what a good run leaves, the user was told of; and the playlist list shows
// the catalogue that is on disk, not one that was not written.

#include "playlists/file_readers.h"
#include "tests/playlists/failing_file_system.h"
#include "tests/playlists/playlist_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

using namespace lirvan;

namespace {

using Op = FailingFileSystem::Op;

struct Command {
    const char* name;
    std::function<void(PlayerHarness&)> run;
    // A deletion that cannot read the catalogue does nothing and says nothing, as
    // when there is no playlist: the one failure that may go untold.
    bool mayDoNothingSilently = false;
};

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands{
        {"create", [](PlayerHarness& h) { CreateNamed(h, "new"); }},
        {"create under a taken name",
         [](PlayerHarness& h) {
             h.UserSelectRow(IDC_PLAYLIST_LIST, 1);
             CreateNamed(h, "a");
         }},
        {"add a track and save",
         [](PlayerHarness& h) {
             h.chooser.Choose({"/m/added.mp3"});
             h.Click(IDC_ADD);
             h.Click(IDC_SAVE);
         }},
        {"save", [](PlayerHarness& h) { h.Click(IDC_SAVE); }},
        {"delete",
         [](PlayerHarness& h) {
             h.UserSelectRow(IDC_PLAYLIST_LIST, 0);
             h.Click(IDC_DELETE_PLAYLIST);
         },
         true},
    };
    return commands;
}

const std::map<Op, const char*> kOperations{{Op::Open, "open"},           {Op::Write, "write"},
                                            {Op::Close, "close (flush)"}, {Op::Sync, "sync"},
                                            {Op::Rename, "rename"},       {Op::Remove, "remove"}};

// The files of pl/ and what they hold, with the test's own folder written as "D/"
// so that runs in different folders compare; the deletion's temporary file is no
// part of the state.
using Disk = std::map<std::string, std::string>;

std::string Portable(std::string text, const std::string& folder)
{
    for (std::size_t at; (at = text.find(folder)) != std::string::npos;)
        text.replace(at, folder.size(), "D/");
    return text;
}

Disk ReadDisk(const TempExeFolder& folder)
{
    Disk disk;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Pl())) {
        const std::string name = entry.path().filename().string();
        if (name != "PLT.pltt") disk[name] = Portable(ReadBytes(entry.path().string()), folder.Path());
    }
    return disk;
}

// A window over two playlists, a (two tracks) and b (one), with a listed.
struct Player {
    Player()
    {
        AddPlaylist(h.folder, "a", {"/m/a1.mp3", "/m/a2.mp3"});
        AddPlaylist(h.folder, "b", {"/m/b1.mp3"});
        h.Open();
        h.messages.answer = IDOK;
    }
    int Errors() const
    {
        int errors = 0;
        for (const ShownMessage& message : h.messages.shown) errors += message.caption == "Ошибка";
        return errors;
    }
    PlayerHarness h;
};

struct GoodRun {
    Disk before;
    Disk after;
    std::map<Op, int> calls;
};

GoodRun RunWithoutFaults(const Command& command)
{
    Player p;
    GoodRun run;
    run.before = ReadDisk(p.h.folder);
    FailingFileSystem fs;
    command.run(p.h);
    run.after = ReadDisk(p.h.folder);
    for (const auto& [op, name] : kOperations) run.calls[op] = fs.Calls(op);
    return run;
}

// What must hold after command ran with a failure injected.
void ExpectSound(Player& p, const Command& command, const GoodRun& good, const std::string& what)
{
    const Disk disk = ReadDisk(p.h.folder);
    ASSERT_TRUE(disk.count("PLT.plt")) << what << ": the catalogue is gone";
    const std::string& catalogue = disk.at("PLT.plt");
    EXPECT_TRUE(catalogue == good.before.at("PLT.plt") || catalogue == good.after.at("PLT.plt"))
        << what << ": the catalogue is neither the old nor the new one:\n"
        << catalogue;

    std::array<PList, kPlaylistRecords> entries;
    auto file = TextFile::Open(p.h.folder.Pl("PLT.plt"), TextFile::Access::Read);
    ASSERT_TRUE(file);
    const int count = ReadCatalogue(*file, entries).entries;
    QStringList names;
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(Exists(entries[i].path)) << what << ": the catalogue names a missing " << entries[i].path;
        names << QString::fromStdString(entries[i].name);
    }
    // A catalogue that cannot be read back zeroes the counters and empties the list
    // rather than showing playlists it may no longer hold.
    const bool unread =
        playlistCount == 0 && p.h.Items(IDC_PLAYLIST_LIST).isEmpty() && p.h.Items(IDC_TRACK_LIST).isEmpty();
    EXPECT_TRUE(p.h.Items(IDC_PLAYLIST_LIST) == names || unread)
        << what << ": the playlist list is not what the catalogue holds: "
        << p.h.Items(IDC_PLAYLIST_LIST).join(", ").toStdString();

    // Whatever is not as a good run leaves it must have been told.
    if (command.mayDoNothingSilently && disk == good.before) return;
    for (const auto& [name, bytes] : good.after) {
        const auto found = disk.find(name);
        if (found == disk.end() || found->second != bytes) {
            EXPECT_GT(p.Errors(), 0) << what << ": " << name
                                     << " is not as a good run leaves it, and nothing was said";
        }
    }
}

// Writes that run out of room as a full disk does: the nth write puts down only
// half of its bytes and reports that, and the next write to the same file fails.
class ShortWriteFileSystem final : public FileSystem {
public:
    explicit ShortWriteFileSystem(int nth) : m_real(CurrentFileSystem()), m_nth(nth)
    {
        InstallFileSystem(this);
    }
    ~ShortWriteFileSystem() override { InstallFileSystem(&m_real); }

    int Open(const std::string& path, Access access) override { return m_real.Open(path, access); }
    long Read(int fd, char* buffer, std::size_t size) override { return m_real.Read(fd, buffer, size); }
    long Write(int fd, const char* data, std::size_t size) override
    {
        if (fd == m_fullFd) return -1;
        if (++m_calls != m_nth || size < 2) return m_real.Write(fd, data, size);
        m_fullFd = fd;
        return m_real.Write(fd, data, size / 2);
    }
    bool Sync(int fd) override { return m_real.Sync(fd); }
    bool Close(int fd) override
    {
        if (fd == m_fullFd) m_fullFd = -1;
        return m_real.Close(fd);
    }
    bool Rename(const std::string& from, const std::string& to) override { return m_real.Rename(from, to); }
    bool Remove(const std::string& path) override { return m_real.Remove(path); }

private:
    FileSystem& m_real;
    int m_nth;
    int m_calls = 0;
    int m_fullFd = -1;
};

} // namespace

TEST(FaultInjection, EveryFileOperationOfEveryPlaylistCommandFailsInTurn)
{
    for (const Command& command : Commands()) {
        const GoodRun good = RunWithoutFaults(command);
        for (const auto& [op, opName] : kOperations) {
            for (int n = 1; n <= good.calls.at(op); ++n) {
                const std::string what = std::string(command.name) + ", " + opName + " call " +
                    std::to_string(n) + " of " + std::to_string(good.calls.at(op)) + " failing";
                SCOPED_TRACE(what);
                Player p;
                FailingFileSystem fs;
                fs.FailNth(op, n);
                command.run(p.h);
                ExpectSound(p, command, good, what);
            }
            std::printf(
                "%s: %s %s\n", command.name, opName,
                good.calls.at(op)
                    ? ("failed at each of its " + std::to_string(good.calls.at(op)) + " calls").c_str()
                    : "not called");
        }
    }
}

TEST(FaultInjection, EveryWriteOfEveryPlaylistCommandRunsOutOfRoomInTurn)
{
    for (const Command& command : Commands()) {
        const GoodRun good = RunWithoutFaults(command);
        for (int n = 1; n <= good.calls.at(Op::Write); ++n) {
            const std::string what =
                std::string(command.name) + ", write " + std::to_string(n) + " cut short";
            SCOPED_TRACE(what);
            Player p;
            ShortWriteFileSystem fs(n);
            command.run(p.h);
            ExpectSound(p, command, good, what);
        }
    }
}
