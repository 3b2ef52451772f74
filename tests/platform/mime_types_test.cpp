// Every format of the player's table truly plays: a file of each extension,
// made by ffmpeg (MIDI by hand), plays through the real engine and has its
// length; and the desktop entry offers exactly the table's MIME types.

#include "desktop/desktop_entry.h"
#include "engine_test_env.h"
#include "platform/audio_formats.h"
#include "tests/support/audio_fixtures.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <cctype>
#include <map>

namespace {

// How a file of each extension is made, as ffmpeg's output options: a second
// of sound, with a small picture where the format is a video's; empty for
// MIDI, written by hand.
const std::map<std::string, std::string, std::less<>> kEncodings = {
    {"mp3", "-c:a libmp3lame"},
    {"mp2", "-c:a mp2"},
    {"mid", ""},
    {"midi", ""},
    {"wav", "-c:a pcm_s16le"},
    {"aiff", "-c:a pcm_s16be"},
    {"aif", "-c:a pcm_s16be"},
    {"flac", "-c:a flac"},
    {"oga", "-c:a libvorbis"},
    {"ogg", "-c:a libvorbis"},
    {"opus", "-c:a libopus"},
    {"m4a", "-c:a aac"},
    {"aac", "-c:a aac"},
    {"wma", "-c:a wmav2"},
    {"asf", "-c:a wmav2"},
    {"mka", "-c:a libvorbis"},
    {"webm", "-c:a libopus"},
    {"wv", "-c:a wavpack"},
    {"avi", "-c:v mpeg4 -c:a libmp3lame"},
    {"mpeg", "-c:v mpeg1video -c:a mp2"},
    {"mpg", "-c:v mpeg1video -c:a mp2"},
};

} // namespace

TEST(MimeTypes, EveryFormatOfTheTablePlaysWithItsLength)
{
    TempFolder folder;
    std::unique_ptr<AudioEngine> engine = StartDiskEngine(folder.File("out.raw"));
    for (const FileFormat& format : AudioFormats()) {
        SCOPED_TRACE(std::string(format.extension));
        const auto encoding = kEncodings.find(format.extension);
        ASSERT_NE(encoding, kEncodings.end()) << "in the table, but no sample shows that it plays";
        // The extension in capitals: ffmpeg and the engine take it in any letter case.
        std::string name = "a." + std::string(format.extension);
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const std::string path = folder.File(name);
        if (encoding->second.empty()) {
            WriteMidi(path, {{0, 960, 60}}); // two quarters at 120 a minute: a second
        } else {
            const bool video = encoding->second.find("-c:v") != std::string::npos;
            ASSERT_TRUE(EncodeWith("-f lavfi -i sine=frequency=440:duration=1 " +
                                   std::string(video ? "-f lavfi -i color=size=32x32:duration=1 " : "") +
                                   encoding->second + " " + path));
        }
        const HSTREAM stream = engine->AudioStreamCreateFile(path.c_str());
        ASSERT_NE(stream, 0u);
        // A second, give or take the encoders' padding and the MIDI release.
        EXPECT_NEAR(double(engine->AudioGetLength(stream)) / kBytesPerSecond, 1.0, 0.2);
        ASSERT_TRUE(engine->AudioPlay(stream));
        EXPECT_TRUE(WaitUntil([&] { return engine->AudioGetPosition(stream) > 0; }, 5));
        engine->AudioStreamFree(stream);
    }
}

TEST(MimeTypes, TheDesktopEntryOffersTheTablesTypes)
{
    QStringList table;
    for (const std::string& type : OpenedMimeTypes()) table << QString::fromStdString(type);
    // Mend desktop/ru.lirvan.Lirvan1.desktop's MimeType line when this fails.
    EXPECT_EQ(QString::fromLatin1(kMimeTypes).split(QLatin1Char(';'), Qt::SkipEmptyParts), table);
}
