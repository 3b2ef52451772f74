// One tick of the playback timer on the real engine while a track plays: the
// spectrum, the three meter boxes, the position and the slider.
//
// Run with the sound wherever SDL sends it, e.g. SDL_AUDIODRIVER=disk
// SDL_DISKAUDIOFILE=/dev/null for a machine without a sound server.

#include "playback/playback_model.h"
#include "platform/audio_engine.h"
#include "platform/message_box.h"
#include "platform/qt_file_chooser.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

using namespace lirvan;

namespace {

// A minute of a two-tone MP3, long enough to play throughout the measurement;
// left in the temporary folder for the next run to overwrite.
std::string MakeTrack()
{
    const std::string path = (std::filesystem::temp_directory_path() / "lirvan-tick-bench.mp3").string();
    const std::string command = "ffmpeg -y -loglevel error -f lavfi -i "
                                "'sine=frequency=440:duration=60' -f lavfi -i "
                                "'sine=frequency=3000:duration=60' -filter_complex amix=inputs=2 "
                                "-ac 2 -ar 44100 -b:a 192k '" +
        path + "'";
    return std::system(command.c_str()) == 0 ? path : std::string();
}

void BM_TimerTick(benchmark::State& state)
{
    static const std::string track = MakeTrack();
    if (track.empty()) {
        state.SkipWithError("ffmpeg could not make the track");
        return;
    }
    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    QtFileChooser chooser;
    QtMessageBoxes messages;
    PlaybackModel model(*engine);
    CPlayerDlg dlg(PlayerPlatform{model, chooser, messages});
    TrackTable[0].SetFromPath(track);
    trackSlots = 2;
    currentTrack = 0;
    model.LoadTrack(track);
    if (stream == 0) {
        state.SkipWithError("the engine could not play the track");
        return;
    }
    for (auto _ : state) dlg.OnTimer(kPlaybackTimer);
    dlg.OnStop();
}
BENCHMARK(BM_TimerTick)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
