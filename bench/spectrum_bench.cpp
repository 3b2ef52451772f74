// The cost of one spectrum request, as the playback timer makes it every
// tick: through the engine's call, and the FFT step alone.

#include "platform/audio_engine.h"
#include "platform/engine/spectrum.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void BM_AudioGetData(benchmark::State& state)
{
    // SDL's silent driver: no sound device needed.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::filesystem::path wav = std::filesystem::temp_directory_path() / "lirvan-spectrum-bench.wav";
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i 'sine=frequency=1000:duration=1' "
        "-ac 2 -ar 44100 " +
        wav.string();
    if (std::system(command.c_str()) != 0) {
        state.SkipWithError("ffmpeg could not make the tone");
        return;
    }
    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    engine->AudioInit();
    const HSTREAM stream = engine->AudioStreamCreateFile(wav.string().c_str());
    engine->AudioPlay(stream);
    std::array<float, kSpectrumValues> spectrum;
    for (auto _ : state) {
        engine->AudioGetData(stream, spectrum.data(), kAudioDataFft2048);
        benchmark::DoNotOptimize(spectrum);
    }
    engine.reset();
    std::filesystem::remove(wav);
}
BENCHMARK(BM_AudioGetData)->Unit(benchmark::kMicrosecond);

void BM_SpectrumCompute(benchmark::State& state)
{
    Spectrum spectrum;
    std::array<float, Spectrum::kSamples> samples;
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = float(std::sin(2 * M_PI * 1000 * double(i) / 44100));
    std::array<float, Spectrum::kBins> out;
    for (auto _ : state) {
        spectrum.Compute(samples.data(), out.data());
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_SpectrumCompute)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
