// What the engine plays, read back from SDL's disk driver: frequency, level,
// volume, pause, how often the decoder wakes, seeks, the end of a stream, the
// spectrum, MIDI, a file that goes bad while it plays, and the next track
// prepared ahead; and a stream whose decoder starts slowly.

#include "audio_capture.h"
#include "engine_test_env.h"
#include "platform/engine/stream.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/fake_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

constexpr std::size_t kRate = kFixtureRate;

std::vector<float> Sine(std::size_t frames, double hz, double amplitude)
{
    std::vector<float> sine(frames);
    for (std::size_t i = 0; i < frames; ++i)
        sine[i] = float(amplitude * std::sin(2 * M_PI * hz * double(i) / kRate));
    return sine;
}

// Wake-ups of this process's decoder threads so far: each voluntary context
// switch is one sleep ended.
std::uint64_t DecoderWakeups()
{
    std::uint64_t wakeups = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        if (name != "lirvan-decode") continue;
        std::ifstream status(task.path() / "status");
        const std::string key = "voluntary_ctxt_switches:";
        for (std::string line; std::getline(status, line);)
            if (line.compare(0, key.size(), key) == 0) wakeups += std::stoull(line.substr(key.size()));
    }
    return wakeups;
}

class EnginePlayback : public ::testing::Test {
protected:
    EnginePlayback() : engine(StartDiskEngine(folder.File("out.raw"))) { }

    HSTREAM Create(const std::string& path) { return engine->AudioStreamCreateFile(path.c_str()); }
    bool PlayToEnd(HSTREAM stream, double seconds)
    {
        return engine->AudioPlay(stream) &&
            WaitUntil([&] { return engine->AudioIsActive(stream) == 0; }, seconds);
    }
    // Everything played, once the engine is closed.
    std::vector<float> Captured()
    {
        engine.reset();
        return ReadRawStereo(folder.File("out.raw"));
    }

    TempFolder folder;
    std::unique_ptr<AudioEngine> engine;
};

} // namespace

TEST_F(EnginePlayback, ToneComesOutAtItsFrequencyAndLevelAndTheStreamEnds)
{
    WriteToneWav(folder.File("tone.wav"), 1.0, 440, 0.5);
    const HSTREAM stream = Create(folder.File("tone.wav"));
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(PlayToEnd(stream, 4));
    EXPECT_EQ(engine->AudioGetPosition(stream), engine->AudioGetLength(stream));
    EXPECT_TRUE(engine->AudioPlay(stream));
    EXPECT_TRUE(WaitUntil([&] { return engine->AudioIsActive(stream) == 0; }, 1))
        << "nothing is left to play";

    const std::vector<float> out = Captured();
    const Span tone = Audible(out);
    EXPECT_NEAR(double(tone.Size()), double(kRate), 20) << "every frame played once";
    EXPECT_NEAR(ToneHz(out, tone.begin, tone.end), 440, 1);
    EXPECT_NEAR(ToneAmplitude(out, tone.begin, tone.end, 440), 0.5, 0.01);
}

TEST_F(EnginePlayback, VolumeZeroIsSilentAndFiftyIsHalf)
{
    WriteToneWav(folder.File("tone.wav"), 0.5, 440, 0.8);
    const HSTREAM quiet = Create(folder.File("tone.wav"));
    ASSERT_TRUE(engine->AudioSetVolume(0));
    ASSERT_TRUE(PlayToEnd(quiet, 3));
    EXPECT_EQ(engine->AudioGetPosition(quiet), engine->AudioGetLength(quiet)) << "it played, unheard";
    ASSERT_TRUE(engine->AudioSetVolume(50));
    const HSTREAM half = Create(folder.File("tone.wav"));
    ASSERT_TRUE(PlayToEnd(half, 3));

    const std::vector<float> out = Captured();
    const Span heard = Audible(out);
    EXPECT_NEAR(double(heard.Size()), kRate / 2.0, 20) << "only the second stream is heard";
    EXPECT_NEAR(ToneAmplitude(out, heard.begin, heard.end, 440), 0.4, 0.01);
}

TEST_F(EnginePlayback, PauseHoldsThePositionAndPlayResumesThere)
{
    WriteToneWav(folder.File("tone.wav"), 1.0, 440);
    const HSTREAM stream = Create(folder.File("tone.wav"));
    ASSERT_TRUE(engine->AudioPlay(stream));
    Sleep(0.3);
    ASSERT_TRUE(engine->AudioPause(stream));
    Sleep(0.05); // a callback under way finishes
    const std::uint64_t paused = engine->AudioGetPosition(stream);
    EXPECT_GT(paused, 0u);
    EXPECT_LT(paused, engine->AudioGetLength(stream));
    Sleep(0.3);
    EXPECT_EQ(engine->AudioGetPosition(stream), paused);
    EXPECT_NE(engine->AudioIsActive(stream), 0u) << "paused is still active";
    EXPECT_TRUE(engine->AudioPause(stream)) << "a second pause changes nothing";
    ASSERT_TRUE(PlayToEnd(stream, 3));

    const std::vector<float> out = Captured();
    const Span heard = Audible(out);
    EXPECT_GT(heard.Size(), kRate + kRate / 4) << "a silent gap while paused";
    // Zero crossings aside, every frame is heard exactly once.
    EXPECT_NEAR(double(CountAudible(out)), double(CountAudible(Sine(kRate, 440, 0.5))), 50);
}

TEST_F(EnginePlayback, DecoderWakesForBatchesOfBlocksAndNeverWhilePausedOrStopped)
{
    WriteToneWav(folder.File("tone.wav"), 3.0, 440);
    const HSTREAM stream = Create(folder.File("tone.wav"));
    ASSERT_TRUE(engine->AudioPlay(stream));
    Sleep(0.3);
    std::uint64_t before = DecoderWakeups();
    Sleep(1.0);
    // A second of output takes 43 blocks in 22 callbacks; refilled by halves
    // of its ring, the decoder wakes about three times.
    EXPECT_LE(DecoderWakeups() - before, 10u) << "woken for every callback";
    ASSERT_TRUE(engine->AudioPause(stream));
    Sleep(0.1); // a callback under way finishes
    before = DecoderWakeups();
    Sleep(0.5);
    EXPECT_EQ(DecoderWakeups(), before) << "woken while paused";
    ASSERT_TRUE(engine->AudioStop(stream));
    Sleep(0.1);
    before = DecoderWakeups();
    Sleep(0.5);
    EXPECT_EQ(DecoderWakeups(), before) << "woken while stopped";
}

TEST_F(EnginePlayback, SeekPlaysFromTheNewPlace)
{
    // One second at 440 Hz, then one at 880 Hz.
    WriteTonesWav(folder.File("two.wav"), {{1.0, 440}, {1.0, 880}});
    const HSTREAM stream = Create(folder.File("two.wav"));
    const std::uint64_t length = engine->AudioGetLength(stream);
    ASSERT_EQ(length, 2 * kBytesPerSecond);
    ASSERT_TRUE(engine->AudioPlay(stream));
    Sleep(0.25);
    const std::uint64_t target = length * 3 / 4;
    ASSERT_TRUE(engine->AudioSetPosition(stream, target));
    EXPECT_EQ(engine->AudioGetPosition(stream), target) << "the new place at once";
    ASSERT_TRUE(WaitUntil([&] { return engine->AudioIsActive(stream) == 0; }, 3));

    const std::vector<float> out = Captured();
    const Span heard = Audible(out);
    ASSERT_GT(heard.Size(), kRate / 2);
    // The last half second is the second tone, and nothing of the old place
    // decoded ahead is heard after the seek.
    const std::size_t seekAt = heard.end - kRate / 2;
    EXPECT_NEAR(ToneHz(out, seekAt + 100, heard.end), 880, 2);
    EXPECT_NEAR(ToneAmplitude(out, seekAt + 100, heard.end, 880), 0.5, 0.02);
    EXPECT_LT(ToneAmplitude(out, seekAt + 100, heard.end, 440), 0.01);
    EXPECT_NEAR(ToneHz(out, heard.begin, seekAt - 2000), 440, 2);
    EXPECT_LT(double(seekAt - heard.begin), 0.45 * kRate) << "the first tone stops at the seek";
}

// The transport's calls at an advance, as it makes them: the prepared stream
// is handed back already sounding, its first frame right after the last one
// of the track before, and a prepared track that is not loaded is not heard.
TEST_F(EnginePlayback, APreparedNextTrackFollowsWithNoGapAndIsHandedBackSounding)
{
    WriteToneWav(folder.File("first.wav"), 0.5, 440);
    WriteToneWav(folder.File("next.wav"), 0.5, 660);
    WriteToneWav(folder.File("other.wav"), 0.5, 880);
    EXPECT_FALSE(engine->AudioPrepareNext(folder.File("missing.wav").c_str()));
    EXPECT_TRUE(engine->AudioPrepareNext(folder.File("other.wav").c_str()));
    EXPECT_FALSE(engine->AudioPrepareNext(nullptr)) << "forgotten";
    EXPECT_TRUE(engine->AudioPrepareNext(folder.File("other.wav").c_str()));
    EXPECT_TRUE(engine->AudioPrepareNext(folder.File("next.wav").c_str())) << "replaces the other";

    const HSTREAM first = Create(folder.File("first.wav"));
    ASSERT_TRUE(PlayToEnd(first, 3));
    ASSERT_TRUE(engine->AudioStop(first));
    ASSERT_TRUE(engine->AudioStreamFree(first));
    const HSTREAM next = Create(folder.File("next.wav"));
    ASSERT_NE(next, 0u);
    EXPECT_NE(engine->AudioIsActive(next), 0u) << "already sounding";
    const std::uint64_t at = engine->AudioGetPosition(next);
    EXPECT_GT(at, 0u);
    EXPECT_LT(at, engine->AudioGetLength(next)) << "counted from its own start";
    ASSERT_TRUE(PlayToEnd(next, 3));

    const std::vector<float> out = Captured();
    const Span heard = Audible(out);
    EXPECT_NEAR(double(heard.Size()), double(kRate), 20) << "both whole, nothing between";
    // In 1 ms windows, every one carries a tone.
    for (std::size_t from = heard.begin; from + 44 <= heard.end; from += 44) {
        const float loudest = *std::max_element(out.begin() + long(from), out.begin() + long(from + 44),
                                                [](float a, float b) { return std::abs(a) < std::abs(b); });
        ASSERT_GT(std::abs(loudest), 0.05f) << "a gap at " << from;
    }
    EXPECT_LT(ToneAmplitude(out, heard.begin, heard.end, 880), 0.01) << "the track not loaded";
}

TEST_F(EnginePlayback, SpectrumOfAToneIsOnePeakAtItsFrequency)
{
    WriteToneWav(folder.File("khz.wav"), 1.0, 1000, 1.0);
    const HSTREAM stream = Create(folder.File("khz.wav"));
    ASSERT_TRUE(engine->AudioPlay(stream));
    ASSERT_TRUE(WaitUntil([&] { return engine->AudioGetPosition(stream) > kBytesPerSecond / 4; }, 2));
    std::array<float, kSpectrumValues + 1> spectrum;
    spectrum.fill(-1);
    EXPECT_NE(engine->AudioGetData(stream, spectrum.data(), kAudioDataFft2048), kAudioDataError);
    EXPECT_EQ(spectrum[kSpectrumValues], -1) << "never more than 1,024 values";
    const auto peak = std::max_element(spectrum.begin(), spectrum.end() - 1);
    // Bins are 44,100 / 2,048 = 21.5 Hz wide: 1 kHz lies in bin 46.
    EXPECT_EQ(peak - spectrum.begin(), 46);
    EXPECT_NEAR(*peak, 1.0, 0.2) << "a full-scale sine peaks near 1";
    EXPECT_LT(*std::max_element(spectrum.begin() + 60, spectrum.end() - 1), 0.01);
}

TEST_F(EnginePlayback, MidiIsAudibleForTheLengthOfItsTempoMap)
{
    // Half a second at 120 beats a minute, then a quarter at 240.
    WriteMidi(folder.File("song.mid"), {{0, 480, 60}, {480, 480, 67}}, {{480, 250000}});
    const HSTREAM stream = Create(folder.File("song.mid"));
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(engine->AudioGetLength(stream), kBytesPerSecond * 3 / 4);
    ASSERT_TRUE(PlayToEnd(stream, 3));
    EXPECT_EQ(engine->AudioGetPosition(stream), engine->AudioGetLength(stream));

    const std::vector<float> out = Captured();
    const Span heard = Audible(out);
    EXPECT_GT(heard.Size(), kRate / 2);
    EXPECT_LT(heard.Size(), kRate);
}

TEST_F(EnginePlayback, MidiSeekSkipsTheNotesBefore)
{
    // Silence for a second, then a note: from the middle the note comes at once.
    WriteMidi(folder.File("late.mid"), {{960, 480, 72}});
    const HSTREAM stream = Create(folder.File("late.mid"));
    ASSERT_EQ(engine->AudioGetLength(stream), kBytesPerSecond * 3 / 2);
    ASSERT_TRUE(engine->AudioSetPosition(stream, kBytesPerSecond));
    ASSERT_TRUE(PlayToEnd(stream, 3));

    // Played from the wrong tick, the half second after the seek is silent.
    const std::vector<float> out = Captured();
    EXPECT_GT(Audible(out).Size(), kRate / 3);
}

TEST_F(EnginePlayback, FileThatGoesBadWhilePlayingEndsItsStream)
{
    const std::string path = folder.File("long.wav");
    WriteToneWav(path, 5.0, 440);
    const HSTREAM stream = Create(path);
    ASSERT_EQ(engine->AudioGetLength(stream), 5 * kBytesPerSecond);
    // The rest of the file vanishes: what was read ahead plays, then it ends.
    std::filesystem::resize_file(path, 44 + kBytesPerSecond / 2);
    EXPECT_TRUE(PlayToEnd(stream, 3));
    EXPECT_LT(engine->AudioGetPosition(stream), 3 * kBytesPerSecond);

    // An MP3 whose second half is noise plays through to its end, no hang.
    ASSERT_TRUE(
        EncodeWith("-f lavfi -i sine=frequency=440:duration=2 -c:a libmp3lame " + folder.File("noisy.mp3")));
    std::string mp3 = ReadBytes(folder.File("noisy.mp3"));
    std::uint32_t seed = 7;
    for (std::size_t i = mp3.size() / 2; i < mp3.size(); ++i)
        mp3[i] = char((seed = seed * 1103515245 + 12345) >> 16);
    WriteBytes(folder.File("noisy.mp3"), mp3);
    const HSTREAM noisy = Create(folder.File("noisy.mp3"));
    ASSERT_NE(noisy, 0u);
    EXPECT_TRUE(PlayToEnd(noisy, 4));
}

namespace {

// Hands out its first block at once and the next few only after a while, as a
// decoder still starting up on a busy machine does; a constant level throughout.
class SlowStartDecoder final : public Decoder {
public:
    static constexpr std::uint64_t kFrames = 16 * kBlockFrames;
    std::uint64_t LengthFrames() const override { return kFrames; }
    std::uint32_t Read(std::int16_t* out, std::uint32_t frames) override
    {
        if (m_at > 0 && m_at < 4 * kBlockFrames) Sleep(0.02);
        const auto n = std::uint32_t(std::min<std::uint64_t>(frames, kFrames - m_at));
        std::fill(out, out + 2 * n, std::int16_t(8000));
        m_at += n;
        return n;
    }
    bool Seek(std::uint64_t frame) override
    {
        m_at = std::min(frame, kFrames);
        return true;
    }

private:
    std::uint64_t m_at = 0;
};

} // namespace

TEST(StreamStart, ADecoderSlowToStartLeavesNoGapAfterTheFirstBlock)
{
    Stream stream(std::make_unique<SlowStartDecoder>());
    stream.Play();
    // Callbacks of 2,048 frames, as the output makes them, until the end.
    std::vector<std::int16_t> out;
    for (int call = 0; call < 500 && stream.IsActive(); ++call) {
        std::vector<std::int16_t> buffer(2 * 2048);
        stream.MixInto(buffer.data(), 2048, 100, std::uint64_t(call) * 2048, std::uint64_t(call));
        out.insert(out.end(), buffer.begin(), buffer.end());
        Sleep(0.005);
    }
    const auto first = std::find(out.begin(), out.end(), 8000);
    const auto last = std::find(out.rbegin(), out.rend(), 8000).base();
    ASSERT_LT(first, last) << "nothing was heard";
    EXPECT_EQ(std::count(first, last, 0), 0) << "a gap in the sound";
    EXPECT_EQ(last - first, std::ptrdiff_t(2 * SlowStartDecoder::kFrames));
}
