// Every MIME type the desktop entry offers is one the player truly plays: a
// file of that type, made by ffmpeg (MIDI by hand), plays through the real
// engine and has its length.

#include "desktop/desktop_entry.h"
#include "engine_test_env.h"
#include "tests/support/audio_fixtures.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <map>

namespace {

struct Sample {
    const char* file;
    const char* encoding; // ffmpeg's output options; empty for MIDI, written by hand
};

// How a file of each offered type is made: a second of sound, with a small
// picture where the type is a video's.
const std::map<QString, Sample> kSamples = {
    {"audio/mpeg", {"a.mp3", "-c:a libmp3lame"}},
    {"audio/mp2", {"a.mp2", "-c:a mp2"}},
    {"audio/midi", {"a.mid", ""}},
    {"audio/x-wav", {"a.wav", "-c:a pcm_s16le"}},
    {"audio/x-aiff", {"a.aiff", "-c:a pcm_s16be"}},
    {"audio/flac", {"a.flac", "-c:a flac"}},
    {"audio/ogg", {"a.oga", "-c:a libvorbis"}},
    {"audio/x-vorbis+ogg", {"a.ogg", "-c:a libvorbis"}},
    {"audio/x-opus+ogg", {"a.opus", "-c:a libopus"}},
    {"audio/mp4", {"a.m4a", "-c:a aac"}},
    {"audio/aac", {"a.aac", "-c:a aac"}},
    {"audio/x-ms-wma", {"a.wma", "-c:a wmav2"}},
    {"video/x-ms-asf", {"a.asf", "-c:a wmav2"}},
    {"audio/x-matroska", {"a.mka", "-c:a libvorbis"}},
    {"audio/webm", {"a.webm", "-c:a libopus"}},
    {"audio/x-wavpack", {"a.wv", "-c:a wavpack"}},
    {"video/x-msvideo", {"a.avi", "-c:v mpeg4 -c:a libmp3lame"}},
    {"video/mpeg", {"a.mpg", "-c:v mpeg1video -c:a mp2"}},
};

} // namespace

TEST(MimeTypes, EveryOfferedTypePlaysWithItsLength)
{
    TempFolder folder;
    std::unique_ptr<AudioEngine> engine = StartDiskEngine(folder.File("out.raw"));
    const QStringList offered = QString::fromLatin1(kMimeTypes).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    ASSERT_FALSE(offered.isEmpty());
    for (const QString& type : offered) {
        SCOPED_TRACE(type.toStdString());
        const auto sample = kSamples.find(type);
        ASSERT_NE(sample, kSamples.end()) << "offered, but no sample shows that it plays";
        const std::string path = folder.File(sample->second.file);
        const std::string encoding = sample->second.encoding;
        if (encoding.empty()) {
            WriteMidi(path, {{0, 960, 60}}); // two quarters at 120 a minute: a second
        } else {
            const bool video = encoding.find("-c:v") != std::string::npos;
            ASSERT_TRUE(EncodeWith("-f lavfi -i sine=frequency=440:duration=1 " +
                                   std::string(video ? "-f lavfi -i color=size=32x32:duration=1 " : "") +
                                   encoding + " " + path));
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
