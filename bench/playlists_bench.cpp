// Loading the playlists into the window: a catalogue of 70 playlists whose first
// holds 499 tracks, as at start-up and after a deletion; and the two readers alone.

#include "playback/playback_model.h"
#include "platform/audio_engine.h"
#include "platform/executable_folder.h"
#include "platform/message_box.h"
#include "platform/qt_file_chooser.h"
#include "playlists/file_readers.h"
#include "playlists/playlist_paths.h"
#include "ui/player_dlg.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace lirvan;

namespace {

// Loading the catalogue never reaches the engine while a playlist is listed.
class SilentEngine final : public AudioEngine {
public:
    bool AudioInit() override { return true; }
    HSTREAM AudioStreamCreateFile(const char*) override { return 0; }
    bool AudioStreamFree(HSTREAM) override { return false; }
    bool AudioPlay(HSTREAM) override { return false; }
    bool AudioPause(HSTREAM) override { return false; }
    bool AudioStop(HSTREAM) override { return false; }
    std::uint32_t AudioIsActive(HSTREAM) override { return 0; }
    std::uint64_t AudioGetLength(HSTREAM) override { return 0; }
    std::uint64_t AudioGetPosition(HSTREAM) override { return 0; }
    bool AudioSetPosition(HSTREAM, std::uint64_t) override { return false; }
    std::uint32_t AudioGetData(HSTREAM, void*, std::uint32_t) override { return kAudioDataError; }
    std::uint32_t AudioGetVolume() override { return 100; }
    bool AudioSetVolume(std::uint32_t) override { return false; }
    bool AudioPrepareNext(const char*) override { return false; }
};

// A temporary executable folder with pl/PLT.plt listing 70 playlists, the first of 499 tracks.
class BenchFolder {
public:
    BenchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lirvan-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        m_path = pattern + "/";
        std::filesystem::create_directory(m_path + "pl");
        OverrideExecutableFolder(m_path);
        std::ofstream catalogue(CataloguePath(), std::ios::binary);
        for (int i = 0; i < kPlaylistRecords; ++i) {
            const std::string name = "Плейлист номер " + std::to_string(i);
            const std::string file = PlaylistFilePath(name);
            catalogue << file << '*' << name << "\r\n";
            std::ofstream playlist(file, std::ios::binary);
            for (int t = 0; i == 0 && t < kMaxTracks; ++t) {
                playlist << "/home/user/Музыка/Исполнитель/Альбом/" << t << " - Песня.mp3\r\n";
            }
        }
    }
    ~BenchFolder()
    {
        OverrideExecutableFolder("");
        std::filesystem::remove_all(m_path);
    }

private:
    std::string m_path;
};

void BM_LoadCatalogueIntoWindow(benchmark::State& state)
{
    BenchFolder folder;
    SilentEngine engine;
    QtFileChooser chooser;
    QtMessageBoxes messages;
    PlaybackModel model(engine);
    CPlayerDlg dlg(PlayerPlatform{model, chooser, messages});
    for (auto _ : state) dlg.LoadCatalogue();
    if (playlistCount != kPlaylistRecords || trackSlots != kTrackRecords) state.SkipWithError("not loaded");
}
BENCHMARK(BM_LoadCatalogueIntoWindow)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_ReadCatalogue(benchmark::State& state)
{
    BenchFolder folder;
    for (auto _ : state) {
        auto file = TextFile::Open(CataloguePath(), TextFile::Access::Read);
        benchmark::DoNotOptimize(ReadCatalogue(*file, PlaylistTable));
    }
}
BENCHMARK(BM_ReadCatalogue)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_ReadPlaylistFile(benchmark::State& state)
{
    BenchFolder folder;
    const std::string path = PlaylistFilePath("Плейлист номер 0");
    for (auto _ : state) {
        auto file = TextFile::Open(path, TextFile::Access::Read);
        benchmark::DoNotOptimize(ReadPlaylistFile(*file, TrackTable));
    }
}
BENCHMARK(BM_ReadPlaylistFile)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
