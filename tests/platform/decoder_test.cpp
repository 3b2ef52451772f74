// The decoders on their own: every container and codec the player is asked to
// play comes out as the tone that went in, at 44,100 Hz stereo, and seeks land
// where asked; the file a decoder holds open is not handed to programs the
// player starts.

#include "audio_capture.h"
#include "engine_test_env.h"
#include "platform/engine/decoder.h"
#include "tests/support/audio_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fcntl.h>

namespace {

constexpr std::size_t kRate = kFixtureRate;

// Up to `frames` frames from where the decoder is, as a mono mix.
std::vector<float> ReadMono(Decoder& decoder, std::size_t frames)
{
    std::vector<short> stereo(2 * frames);
    std::size_t got = 0;
    while (got < frames) {
        const std::uint32_t n =
            decoder.Read(stereo.data() + 2 * got, std::uint32_t(std::min<std::size_t>(frames - got, 1000)));
        if (n == 0) break;
        got += n;
    }
    return MonoOf(stereo.data(), got);
}

} // namespace

TEST(Decoder, EveryContainerGivesBackTheToneAtTheOutputRate)
{
    TempFolder folder;
    const std::string sine = "-f lavfi -i 'aevalsrc=0.5*sin(440*2*PI*t):s=48000:d=1' ";
    const std::string film = "-f lavfi -i testsrc=duration=1:size=64x48:rate=25 " + sine;
    WriteToneWav(folder.File("tone.wav"), 1.0, 440);
    ASSERT_TRUE(EncodeWith(sine + "-ac 1 -ar 22050 " + folder.File("mono.wav")));
    ASSERT_TRUE(EncodeWith(sine + "-c:a libmp3lame -b:a 128k " + folder.File("tone.mp3")));
    ASSERT_TRUE(EncodeWith(sine + "-ac 1 -ar 44100 -c:a libmp3lame " + folder.File("mono.mp3")));
    // Variable bit rate without the tag that tells the length.
    ASSERT_TRUE(
        EncodeWith(sine + "-ar 44100 -c:a libmp3lame -q:a 4 -write_xing 0 " + folder.File("untagged.mp3")));
    ASSERT_TRUE(EncodeWith(sine + "-c:a wmav2 " + folder.File("tone.wma")));
    ASSERT_TRUE(EncodeWith(film + "-c:v mpeg4 -c:a libmp3lame -shortest " + folder.File("film.avi")));
    ASSERT_TRUE(EncodeWith(film + "-c:v mpeg1video -c:a mp2 -shortest " + folder.File("film.mpg")));
    ASSERT_TRUE(EncodeWith(sine + "-c:a flac " + folder.File("tone.flac")));

    for (const char* name : {"tone.wav", "mono.wav", "tone.mp3", "mono.mp3", "untagged.mp3", "tone.wma",
                             "film.avi", "film.mpg", "tone.flac"}) {
        SCOPED_TRACE(name);
        std::unique_ptr<Decoder> decoder = OpenDecoder(folder.File(name).c_str());
        ASSERT_NE(decoder, nullptr);
        EXPECT_NEAR(double(decoder->LengthFrames()), double(kRate), kRate * 0.06);
        const std::vector<float> out = ReadMono(*decoder, 2 * kRate);
        EXPECT_NEAR(double(out.size()), double(kRate), kRate * 0.06);
        ASSERT_GT(out.size(), kRate / 2);
        EXPECT_NEAR(ToneHz(out, kRate / 4, kRate / 2), 440, 1);
        EXPECT_NEAR(ToneAmplitude(out, kRate / 4, kRate / 2, 440), 0.5, 0.03) << "mono is not turned down";
        short after[2];
        EXPECT_EQ(decoder->Read(after, 1), 0u) << "nothing after the end";
    }
}

TEST(Decoder, SeekLandsOnTheAskedFrameAndGoesBackToo)
{
    TempFolder folder;
    WriteTonesWav(folder.File("two.wav"), {{0.5, 440}, {0.5, 880}});
    ASSERT_TRUE(EncodeWith("-i " + folder.File("two.wav") + " -c:a libmp3lame " + folder.File("two.mp3")));
    ASSERT_TRUE(EncodeWith("-i " + folder.File("two.wav") + " -c:a wmav2 " + folder.File("two.wma")));

    // PCM seeks are exact to the frame: the phase of the sine proves it.
    std::unique_ptr<Decoder> wav = OpenDecoder(folder.File("two.wav").c_str());
    ASSERT_NE(wav, nullptr);
    const std::uint64_t frame = kRate / 2 + 1234;
    ASSERT_TRUE(wav->Seek(frame));
    std::vector<float> out = ReadMono(*wav, 100);
    // The second tone's phase continues from the first's, 440 Hz for half a second.
    const double phase = 2 * M_PI * 440 * 0.5 + 2 * M_PI * 880 * (frame - kRate / 2) / double(kRate);
    EXPECT_NEAR(out[0], 0.5 * std::sin(phase), 0.001);

    for (const char* name : {"two.wav", "two.mp3", "two.wma"}) {
        SCOPED_TRACE(name);
        std::unique_ptr<Decoder> decoder = OpenDecoder(folder.File(name).c_str());
        ASSERT_TRUE(decoder->Seek(kRate * 3 / 4));
        out = ReadMono(*decoder, kRate);
        EXPECT_NEAR(double(out.size()), kRate / 4.0, 1500) << "what is left after the seek";
        ASSERT_GT(out.size(), 4000u);
        EXPECT_NEAR(ToneHz(out, 500, out.size() - 500), 880, 2);
        ASSERT_TRUE(decoder->Seek(0)) << "back after the end";
        out = ReadMono(*decoder, kRate / 4);
        EXPECT_NEAR(ToneHz(out, 2000, out.size()), 440, 2);
    }
}

TEST(Decoder, KeepsItsFileFromProgramsThePlayerStarts)
{
    TempFolder folder;
    WriteToneWav(folder.File("tone.wav"), 0.5, 440);
    ASSERT_TRUE(EncodeWith("-i " + folder.File("tone.wav") + " -c:a libmp3lame " + folder.File("tone.mp3")));
    ASSERT_TRUE(EncodeWith("-i " + folder.File("tone.wav") + " -c:a wmav2 " + folder.File("tone.wma")));
    for (const char* name : {"tone.mp3", "tone.wma"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.File(name);
        std::unique_ptr<Decoder> decoder = OpenDecoder(path.c_str());
        ASSERT_NE(decoder, nullptr);
        int held = 0;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code error;
            if (std::filesystem::read_symlink(entry.path(), error) != path) continue;
            ++held;
            EXPECT_TRUE(fcntl(std::stoi(entry.path().filename()), F_GETFD) & FD_CLOEXEC);
        }
        EXPECT_EQ(held, 1);
    }
}
