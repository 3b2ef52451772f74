// Files on the command line open as "Открыть" opens chosen files.

#include "desktop/desktop_doors.h"
#include "desktop_window.h"
#include "playlists/tables.h"

#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

using namespace lirvan;

namespace {

class CommandLineTest : public ::testing::Test {
protected:
    // Starts the doors as the application does and lets the event loop run once.
    void Start(const QStringList& arguments)
    {
        // No MPRIS here: a bus the machine may have is left alone.
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("XDG_RUNTIME_DIR");
        m_doors = std::make_unique<DesktopDoors>(w.model, *w.dlg, *w.dlg->TrackList(), arguments);
        QCoreApplication::processEvents();
    }
    DesktopWindow w;
    std::unique_ptr<DesktopDoors> m_doors;
};

TEST_F(CommandLineTest, TwoFilesReplaceTheTracksInOrderAndTheFirstPlays)
{
    w.userChooser.Choose({w.File("old.mp3")});
    FindControlAs<QPushButton>(w.dlg.get(), IDC_OPEN)->click();
    std::filesystem::create_directory(w.folder.Path() + "other");
    const std::string second = w.File("other/b.wav");
    w.File("z.mp3");
    // One path given relative to the current folder, as a shell passes it.
    const QString savedFolder = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(w.folder.Path()));
    Start({QStringLiteral("lirvan1"), QStringLiteral("z.mp3"), QString::fromStdString(second)});
    QDir::setCurrent(savedFolder);

    EXPECT_EQ(w.Tracks(), QStringList({QStringLiteral("z"), QStringLiteral("b")}));
    EXPECT_EQ(TrackTable[0].path, w.folder.Path() + "z.mp3");
    EXPECT_EQ(TrackTable[1].path, second);
    EXPECT_EQ(w.engine.CallsOf("AudioStreamCreateFile").back(),
              "AudioStreamCreateFile " + w.folder.Path() + "z.mp3");
    EXPECT_EQ(w.Status(), QStringLiteral("Играю"));
    // The user was asked once, for the first Open; the next Open asks again.
    EXPECT_EQ(w.userChooser.shown, 1);
    FindControlAs<QPushButton>(w.dlg.get(), IDC_OPEN)->click();
    EXPECT_EQ(w.userChooser.shown, 2);
}

TEST_F(CommandLineTest, MissingFileIsTakenAsAChosenFileThatCannotBePlayed)
{
    const std::string missing = w.folder.Path() + "gone.mp3";
    w.engine.unplayable.insert(missing);
    Start({QStringLiteral("lirvan1"), QString::fromStdString(missing)});

    EXPECT_EQ(w.Tracks(), QStringList{QStringLiteral("gone")});
    EXPECT_EQ(TrackTable[0].path, missing);
    EXPECT_EQ(w.Status(), QStringLiteral("Остановлено"));
    EXPECT_TRUE(w.messages.shown.empty());
}

TEST_F(CommandLineTest, FolderOpensItsTracksRecursivelySortedByPath)
{
    std::filesystem::create_directories(w.folder.Path() + "music/sub");
    w.File("music/z.mid");
    w.File("music/sub/B.WAV");
    w.File("music/a.mp3");
    w.File("music/notes.txt");
    w.File("music/sub/cover.jpg");
    Start({QStringLiteral("lirvan1"), QString::fromStdString(w.folder.Path() + "music")});

    EXPECT_EQ(w.Tracks(), QStringList({QStringLiteral("a"), QStringLiteral("B"), QStringLiteral("z")}));
    EXPECT_EQ(w.engine.CallsOf("AudioStreamCreateFile").back(),
              "AudioStreamCreateFile " + w.folder.Path() + "music/a.mp3");
}

TEST_F(CommandLineTest, NoFilesStartAsBefore)
{
    Start({QStringLiteral("lirvan1")});
    EXPECT_TRUE(w.Tracks().isEmpty());
    EXPECT_TRUE(w.engine.calls.empty());
    EXPECT_EQ(w.userChooser.shown, 0);
}

} // namespace
