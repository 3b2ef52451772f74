// Where pl/ lives: beside the executable when that folder can be written, else
// in the user's data folder, created once with its pl/.

#include "fake_platform.h"
#include "platform/executable_folder.h"
#include "playlists/playlist_paths.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool Writable(const std::string&) { return true; }
bool ReadOnly(const std::string&) { return false; }

class ApplicationFolderTest : public ::testing::Test {
protected:
    std::string Dir(const std::string& name) const { return m_temp.path().toStdString() + "/" + name; }
    QTemporaryDir m_temp;
};

TEST_F(ApplicationFolderTest, WritableExecutableFolderKeepsPlBesideTheExecutable)
{
    const std::string exe = Dir("portable/");
    EXPECT_EQ(ApplicationFolder(exe, Writable, Dir("data").c_str(), Dir("home").c_str()), exe);
    EXPECT_FALSE(Exists(Dir("data"))) << "nothing is made in the user's folder";
    EXPECT_FALSE(Exists(Dir("home")));
}

TEST_F(ApplicationFolderTest, ReadOnlyExecutableFolderFallsBackToXdgCreatedOnce)
{
    const std::string exe = "/usr/bin/";
    const std::string data = Dir("data/lirvan1/");
    ASSERT_EQ(ApplicationFolder(exe, ReadOnly, Dir("data").c_str(), nullptr), data);
    ASSERT_TRUE(fs::is_directory(data + "pl"));
    WriteBytes(data + "pl/PLT.plt", "kept");
    // A second start finds the folder and leaves what is in it.
    EXPECT_EQ(ApplicationFolder(exe, ReadOnly, Dir("data").c_str(), nullptr), data);
    EXPECT_EQ(ReadBytes(data + "pl/PLT.plt"), "kept");

    // Without XDG_DATA_HOME, or with a relative one, the default under the home folder.
    const std::string home = Dir("home");
    EXPECT_EQ(ApplicationFolder(exe, ReadOnly, nullptr, home.c_str()), home + "/.local/share/lirvan1/");
    EXPECT_EQ(ApplicationFolder(exe, ReadOnly, "relative", home.c_str()), home + "/.local/share/lirvan1/");
    EXPECT_TRUE(fs::is_directory(home + "/.local/share/lirvan1/pl"));
    // Nowhere to go: the executable's folder, as before.
    EXPECT_EQ(ApplicationFolder(exe, ReadOnly, nullptr, nullptr), exe);
}

TEST_F(ApplicationFolderTest, CatalogueFollowsTheChoice)
{
    const QByteArray savedXdg = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(Dir("data")));
    SetFolderWritableCheck(ReadOnly);
    EXPECT_EQ(CataloguePath(), Dir("data/lirvan1/pl/PLT.plt"));
    SetFolderWritableCheck(nullptr);
    // As root, the build tree's folder can be written.
    EXPECT_NE(CataloguePath(), Dir("data/lirvan1/pl/PLT.plt"));
    if (savedXdg.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", savedXdg);
}

// The real access check, as a user who may not write the executable's folder.
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
