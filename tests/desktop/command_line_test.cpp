// Files on the command line open as "Открыть" opens chosen files.

#include "desktop/desktop_doors.h"
#include "desktop_window.h"
#include "platform/audio_formats.h"
#include "playlists/tables.h"

#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sys/stat.h>
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

TEST_F(CommandLineTest, FolderOpensEveryFormatRecursivelySortedByPath)
{
    std::filesystem::create_directories(w.folder.Path() + "music/sub");
    QStringList expected;
    std::vector<std::string> names;
    for (const FileFormat& format : AudioFormats()) {
        // Every other one in capitals, half of them in the subfolder.
        std::string extension(format.extension);
        if (names.size() % 2) {
            for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        names.push_back((names.size() % 3 ? "music/" : "music/sub/") + extension + "." + extension);
    }
    for (const std::string& name : names) w.File(name);
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    for (const std::string& name : sorted)
        expected << QString::fromStdString(
            name.substr(name.rfind('/') + 1, name.rfind('.') - name.rfind('/') - 1));
    // Not tracks: other files, a list (a folder does not read the lists in it), a pipe.
    w.File("music/notes.txt");
    w.File("music/sub/cover.jpg");
    WriteBytes(w.folder.Path() + "music/inner.m3u", w.File("music/sub/mp3.mp3") + "\n");
    ASSERT_EQ(mkfifo((w.folder.Path() + "music/pipe.mp3").c_str(), 0600), 0);
    Start({QStringLiteral("lirvan1"), QString::fromStdString(w.folder.Path() + "music")});

    EXPECT_EQ(w.Tracks(), expected);
    EXPECT_EQ(w.engine.CallsOf("AudioStreamCreateFile").back(),
              "AudioStreamCreateFile " + w.folder.Path() + sorted.front());
}

TEST_F(CommandLineTest, ListOpensTheTracksItNamesInOrder)
{
    std::filesystem::create_directories(w.folder.Path() + "lists/sub");
    std::filesystem::create_directories(w.folder.Path() + "music");
    const std::string a = w.File("lists/a.mp3");
    const std::string b = w.File("lists/sub/b.wav");
    const std::string c = w.File("lists/c.flac");
    const std::string inFolder = w.File("music/d.ogg");
    const std::string list = w.folder.Path() + "lists/Подборка.m3u8";
    // A list naming a list reads it once; one naming itself reads nothing more.
    WriteBytes(w.folder.Path() + "lists/other.pls",
               "[playlist]\r\nFile1=c.flac\r\nFile2=Подборка.m3u8\r\nFile3=other.pls\r\n");
    WriteBytes(list,
               "#EXTM3U\r\na.mp3\r\nsub\\b.wav\r\n" + w.folder.Path() + "music\r\ngone.mp3\r\n" +
                   "other.pls\r\nПодборка.m3u8\r\nhttp://radio.example/live.mp3\r\nother.pls\r\n");
    w.engine.unplayable.insert(w.folder.Path() + "lists/gone.mp3");
    Start({QStringLiteral("lirvan1"), QString::fromStdString(list)});

    EXPECT_EQ(w.Tracks(), QStringList({"a", "b", "d", "gone", "c"}));
    EXPECT_EQ(TrackTable[1].path, b);
    EXPECT_EQ(TrackTable[2].path, inFolder);
    EXPECT_EQ(TrackTable[4].path, c);
    EXPECT_EQ(w.engine.CallsOf("AudioStreamCreateFile").back(), "AudioStreamCreateFile " + a);
}

TEST_F(CommandLineTest, NoFilesStartAsBefore)
{
    Start({QStringLiteral("lirvan1")});
    EXPECT_TRUE(w.Tracks().isEmpty());
    EXPECT_TRUE(w.engine.calls.empty());
    EXPECT_EQ(w.userChooser.shown, 0);
}

} // namespace
