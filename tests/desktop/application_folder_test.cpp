// Where pl/ lives: beside the executable when a pl folder is there, writable or
// not, else in the user's data folder, created once with its pl/; decided at
// start.

#include "fake_platform.h"
#include "platform/executable_folder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ApplicationFolderTest : public ::testing::Test {
protected:
    std::string Dir(const std::string& name) const { return m_temp.path().toStdString() + "/" + name; }
    QTemporaryDir m_temp;
};

TEST_F(ApplicationFolderTest, PlBesideTheExecutableIsUsedEvenReadOnly)
{
    const std::string exe = Dir("portable/");
    fs::create_directories(exe + "pl");
    WriteBytes(exe + "pl/PLT.plt", "kept");
    fs::permissions(exe, fs::perms(0555));
    EXPECT_EQ(ApplicationFolder(exe, Dir("data").c_str(), Dir("home").c_str()), exe);
    fs::permissions(exe, fs::perms(0755));
    EXPECT_FALSE(Exists(Dir("data"))) << "nothing is made in the user's folder";
    EXPECT_FALSE(Exists(Dir("home")));
    EXPECT_EQ(ReadBytes(exe + "pl/PLT.plt"), "kept");
}

TEST_F(ApplicationFolderTest, WithoutPlBesideTheExecutableXdgIsCreatedOnce)
{
    // A folder the player could write, as root may write /usr/bin: still nothing is made there.
    const std::string exe = Dir("bin/");
    fs::create_directory(exe);
    const std::string data = Dir("data/lirvan1/");
    ASSERT_EQ(ApplicationFolder(exe, Dir("data").c_str(), nullptr), data);
    ASSERT_TRUE(fs::is_directory(data + "pl"));
    EXPECT_TRUE(fs::is_empty(exe));
    WriteBytes(data + "pl/PLT.plt", "kept");
    // A second start finds the folder and leaves what is in it.
    EXPECT_EQ(ApplicationFolder(exe, Dir("data").c_str(), nullptr), data);
    EXPECT_EQ(ReadBytes(data + "pl/PLT.plt"), "kept");

    // Without XDG_DATA_HOME, or with a relative one, the default under the home folder.
    const std::string home = Dir("home");
    EXPECT_EQ(ApplicationFolder(exe, nullptr, home.c_str()), home + "/.local/share/lirvan1/");
    EXPECT_EQ(ApplicationFolder(exe, "relative", home.c_str()), home + "/.local/share/lirvan1/");
    EXPECT_TRUE(fs::is_directory(home + "/.local/share/lirvan1/pl"));
    // Nowhere to go: the executable's folder, where nothing is made.
    EXPECT_EQ(ApplicationFolder(exe, nullptr, nullptr), exe);
    EXPECT_TRUE(fs::is_empty(exe));
}

// What a process of its own answers, from its own executable's folder.
std::string ProbeAnswer(const std::string& probe, const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QString::fromStdString(probe), {});
    if (!process.waitForFinished(10000) || process.exitCode() != 0) return "probe failed";
    return process.readAllStandardOutput().trimmed().toStdString();
}

TEST_F(ApplicationFolderTest, TheRunningProgramFollowsTheRule)
{
    const std::string bin = Dir("bin/");
    fs::create_directory(bin);
    fs::copy_file(APPLICATION_FOLDER_PROBE, bin + "probe");
    QProcessEnvironment env;
    env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(Dir("data")));
    EXPECT_EQ(ProbeAnswer(bin + "probe", env), Dir("data/lirvan1/"));
    EXPECT_FALSE(Exists(bin + "pl"));
    fs::create_directory(bin + "pl");
    EXPECT_EQ(ProbeAnswer(bin + "probe", env), bin);
}

// As a user who may not write the executable's folder: the data folder under its own home.
TEST_F(ApplicationFolderTest, UnprivilegedUserGetsTheDataFolder)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to become nobody";
    const passwd* nobody = getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    // Root's folders, which nobody may enter but not write.
    fs::permissions(m_temp.path().toStdString(), fs::perms(0755));
    const std::string bin = Dir("bin/");
    fs::create_directory(bin);
    fs::copy_file(APPLICATION_FOLDER_PROBE, bin + "probe");
    const std::string home = Dir("home");
    fs::create_directory(home);
    ASSERT_EQ(chown(home.c_str(), nobody->pw_uid, nobody->pw_gid), 0);

    QProcess probe;
    QProcessEnvironment env;
    env.insert(QStringLiteral("HOME"), QString::fromStdString(home));
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=%1").arg(nobody->pw_gid),
                 QStringLiteral("--clear-groups"), QString::fromStdString(bin + "probe")});
    ASSERT_TRUE(probe.waitForFinished(10000));
    ASSERT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
    EXPECT_EQ(probe.readAllStandardOutput().trimmed().toStdString(), home + "/.local/share/lirvan1/");
    EXPECT_TRUE(fs::is_directory(home + "/.local/share/lirvan1/pl"));
    EXPECT_FALSE(Exists(bin + "pl"));
}

} // namespace
