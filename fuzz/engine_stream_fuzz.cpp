// The engine on a file made of the input, under each extension the chooser offers
// (the first input byte picks it). The decoder that the engine would pick reads
// the file to its end, or five seconds of it, keeping its contract: never more
// frames than asked, and nothing more once it has given fewer. Then the engine,
// playing into SDL's dummy driver, makes a stream of the file or answers 0; a
// stream it makes starts stopped at position 0, refuses a place past its end,
// and is dead once freed.

#include "fuzz_input.h"
#include "platform/audio_engine.h"
#include "platform/engine/decoder.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr std::array<const char*, 6> kExtensions{"mp3", "mid", "wav", "wma", "avi", "mpeg"};
constexpr std::uint32_t kChunkFrames = 4096;
constexpr std::uint64_t kMostFrames = 5 * kOutputRate;

AudioEngine* g_engine;

void DecodeToEnd(const std::string& path)
{
    std::unique_ptr<Decoder> decoder = OpenDecoder(path.c_str());
    if (!decoder) return;
    static std::array<std::int16_t, 2 * kChunkFrames> frames;
    bool ended = false;
    for (std::uint64_t done = 0; done < kMostFrames; done += kChunkFrames) {
        const std::uint32_t got = decoder->Read(frames.data(), kChunkFrames);
        Require(got <= kChunkFrames, "a read gives no more frames than asked");
        Require(!ended || got == 0, "nothing more once the audio has ended");
        ended = ended || got < kChunkFrames;
    }
    if (decoder->Seek(decoder->LengthFrames() / 2)) {
        Require(decoder->Read(frames.data(), kChunkFrames) <= kChunkFrames,
                "a read after a seek stays in bounds");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    static std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    g_engine = engine.get();
    Require(g_engine->AudioInit(), "the engine starts on the dummy driver");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    static const std::string base = "/tmp/lirvan-engine-fuzz-" + std::to_string(getpid()) + ".";
    const std::string path = base + kExtensions[data[0] % kExtensions.size()];
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data) + 1, size - 1);

    DecodeToEnd(path);
    const HSTREAM stream = g_engine->AudioStreamCreateFile(path.c_str());
    if (stream != 0) {
        Require(g_engine->AudioIsActive(stream) == 0 && g_engine->AudioGetPosition(stream) == 0,
                "a new stream is stopped at position 0");
        // A length of 0 is a file that does not tell its length: any place may be asked.
        const std::uint64_t length = g_engine->AudioGetLength(stream);
        Require(length == 0 || !g_engine->AudioSetPosition(stream, length + 4), "no seek past the end");
        Require(g_engine->AudioStreamFree(stream), "a live stream frees");
        Require(g_engine->AudioGetLength(stream) == 0, "a freed stream is dead");
    }
    std::remove(path.c_str());
    return 0;
}
