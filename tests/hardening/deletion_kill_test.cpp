// Deletions killed with SIGKILL at random moments, a few hundred times: the
// catalogue on disk always reads whole. Every line is "path*name" and CR LF for a
// playlist file that exists, and the lines are a run of consecutively created
// playlists, as between two whole deletions or creations, never a torn mixture.

#include "fake_platform.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <sstream>

namespace {

constexpr int kKills = 200;
constexpr int kPlaylists = 6;
// Kills that must land while a deletion's temporary catalogue is open, or the run never
// tested the moment it exists for; about two fifths land there on a desktop disk.
constexpr int kMinKillsMidDeletion = kKills / 5;

// Starts the driver on folder; returns its pid once it is deleting (or has died).
pid_t StartDriver(const TempExeFolder& folder)
{
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(ready[1], STDOUT_FILENO);
        close(ready[0]);
        // Qt's start-up notes, a few hundred times over, would bury the test's output.
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        execl(DELETION_KILL_DRIVER, DELETION_KILL_DRIVER, folder.Path().c_str(),
              std::to_string(kPlaylists).c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    char byte;
    while (read(ready[0], &byte, 1) < 0 && errno == EINTR) { }
    close(ready[0]);
    return pid;
}

// What is wrong with the catalogue, or "" when it reads whole.
std::string CatalogueFault(const TempExeFolder& folder)
{
    const std::string catalogue = ReadBytes(folder.Pl("PLT.plt"));
    if (!Exists(folder.Pl("PLT.plt"))) return "the catalogue is missing";
    long previous = -1;
    std::string owner;
    for (std::size_t begin = 0; begin < catalogue.size();) {
        const std::size_t end = catalogue.find("\r\n", begin);
        if (end == std::string::npos) return "a line without CR LF: " + catalogue.substr(begin);
        const std::string line = catalogue.substr(begin, end - begin);
        begin = end + 2;
        const std::size_t star = line.find('*');
        if (star == std::string::npos) return "a line without *: " + line;
        const std::string path = line.substr(0, star), name = line.substr(star + 1);
        if (path != folder.Pl(name + ".plt")) return "a path that is not its name's: " + line;
        if (!Exists(path)) return "a line for a missing file: " + line;
        const std::size_t cut = name.find('_');
        const long number = std::stol(name.substr(cut + 1));
        if (previous >= 0 && (name.substr(0, cut) != owner || number != previous + 1)) {
            return "lines that are not consecutive playlists:\n" + catalogue;
        }
        owner = name.substr(0, cut);
        previous = number;
    }
    return "";
}

// Whether a deletion was cut short: its temporary catalogue is left behind, empty or
// one playlist short of the catalogue (a creation's holds one playlist more).
bool DeletionCutShort(const TempExeFolder& folder)
{
    if (!Exists(folder.Pl("PLT.pltt"))) return false;
    const auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
    return lines(ReadBytes(folder.Pl("PLT.pltt"))) < lines(ReadBytes(folder.Pl("PLT.plt")));
}

} // namespace

TEST(DeletionKill, TheCatalogueReadsWholeAfterEveryKill)
{
    TempExeFolder folder;
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> microseconds(0, 20000);
    int midway = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t pid = StartDriver(folder);
        ASSERT_GT(pid, 0);
        usleep(static_cast<useconds_t>(microseconds(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the driver ended by itself, status " << status;
        const std::string fault = CatalogueFault(folder);
        ASSERT_EQ(fault, "") << "after kill " << kill;
        midway += DeletionCutShort(folder);
    }
    std::printf("%d kills, %d of them in the middle of a deletion\n", kKills, midway);
    EXPECT_GE(midway, kMinKillsMidDeletion);
}
