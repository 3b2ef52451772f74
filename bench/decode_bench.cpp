// The decode path of a stream, on its own: open a file and read it whole as
// 16-bit stereo at 44,100 Hz, as a stream's decoder thread does. Given no
// file, it makes a 60-second MP3 with the ffmpeg command.
//
//   decode_bench [FILE] [benchmark flags]

#include "platform/engine/decoder.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string g_file;

void BM_DecodeWholeFile(benchmark::State& state)
{
    std::array<std::int16_t, 2 * 1024> block;
    std::uint64_t frames = 0;
    for (auto _ : state) {
        std::unique_ptr<Decoder> decoder = OpenDecoder(g_file.c_str());
        if (!decoder) {
            state.SkipWithError("the file does not open");
            return;
        }
        frames = 0;
        while (const std::uint32_t n = decoder->Read(block.data(), 1024)) frames += n;
        benchmark::DoNotOptimize(block);
    }
    state.counters["audio_seconds"] = double(frames) / kOutputRate;
}
BENCHMARK(BM_DecodeWholeFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const std::filesystem::path made = std::filesystem::temp_directory_path() / "lirvan-decode-bench.mp3";
    if (argc > 1) {
        g_file = argv[1];
    } else {
        g_file = made.string();
        const std::string command =
            "ffmpeg -nostdin -loglevel error -y -f lavfi -i "
            "'aevalsrc=0.4*sin(440*2*PI*t)+0.2*sin(3*PI*t*t)|0.4*sin(660*2*PI*t):s=44100:d=60' "
            "-c:a libmp3lame -b:a 192k " +
            g_file;
        if (std::system(command.c_str()) != 0) return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (argc <= 1) std::filesystem::remove(made);
    return 0;
}
