// A long run of the whole player on the real engine, for leaks of memory,
// threads, descriptors and streams. It writes a playlist of short tracks
// (WAV, MP3 and MIDI, some a fraction of a second, a few corrupt) into FOLDER,
// double-clicks through it and moves the position and volume sliders and the
// pause and play buttons at random moments for MINUTES, as a restless user
// would, while finished tracks advance by themselves. Then it stops and
// reports what it saw as lines of "name value":
//
//     soak_player FOLDER MINUTES [SEED]
//
// The window is created on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise; the sound goes wherever the engine's SDL output goes.

#include "playback/playback_model.h"
#include "platform/audio_engine.h"
#include "platform/message_box.h"
#include "platform/qt_file_chooser.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"
#include "tests/support/audio_fixtures.h"
#include "ui/dialog_template.h"
#include "ui/player_dlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

using namespace lirvan;

namespace {

// As many tracks as the soak asks for; the table holds up to 500.
constexpr int kTracks = 200;
// Time for the engine to let go of an idle device (a few seconds) and more.
constexpr int kSettleMs = 5000;

struct Usage {
    long rssKiB = 0;
    long threads = 0;
    long fds = 0;
    std::string threadNames; // so that a thread left over can be named
};

Usage Measure()
{
    Usage usage;
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:")
            status >> usage.rssKiB;
        else if (key == "Threads:")
            status >> usage.threads;
        status.ignore(1 << 16, '\n');
    }
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        usage.threadNames += (usage.threadNames.empty() ? "" : ",") + name;
    }
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++usage.fds;
    --usage.fds; // the iterator's own
    return usage;
}

void Report(const char* when, const Usage& usage)
{
    std::printf("%s_rss_kib %ld\n%s_threads %ld (%s)\n%s_fds %ld\n", when, usage.rssKiB, when, usage.threads,
                usage.threadNames.c_str(), when, usage.fds);
    std::fflush(stdout);
}

// Track `index` as a file of its kind: mostly short sounds, one in eight a
// MIDI song, one in twenty corrupt in a different way each time.
std::string WriteTrack(const std::string& folder, int index, std::mt19937& random)
{
    const std::string base = folder + "/track" + std::to_string(index);
    const double seconds = std::uniform_real_distribution<double>(0.1, 4.0)(random);
    const double hz = std::uniform_real_distribution<double>(200, 2000)(random);
    if (index % 20 == 7) {
        const std::string path = base + (index % 3 ? ".mp3" : ".wav");
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 4096; ++i) out.put(char(random()));
        return path;
    }
    if (index % 20 == 13) {
        WriteToneWav(base + ".wav", seconds, hz);
        std::filesystem::resize_file(base + ".wav", 30); // a header cut short
        return base + ".wav";
    }
    if (index % 8 == 3) {
        std::vector<MidiNote> notes;
        for (std::uint32_t tick = 0; tick < seconds * 960; tick += 240)
            notes.push_back({tick, 240, std::uint8_t(48 + random() % 36), std::uint8_t(random() % 8)});
        WriteMidi(base + ".mid", notes);
        return base + ".mid";
    }
    WriteToneWav(base + ".wav", seconds, hz);
    if (index % 3 != 1) return base + ".wav";
    EncodeWith("-i " + base + ".wav -c:a libmp3lame -b:a 96k " + base + ".mp3");
    std::filesystem::remove(base + ".wav");
    return base + ".mp3";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s FOLDER MINUTES [SEED]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const qint64 soakMs = qint64(std::atof(argv[2]) * 60000);
    std::mt19937 random(argc == 4 ? unsigned(std::atoi(argv[3])) : 1u);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    std::filesystem::create_directories(folder);
    std::vector<std::string> tracks;
    for (int i = 0; i < kTracks; ++i) tracks.push_back(WriteTrack(folder, i, random));

    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    QtFileChooser chooser;
    QtMessageBoxes messages;
    PlaybackModel model(*engine);
    CPlayerDlg dlg(PlayerPlatform{model, chooser, messages});
    dlg.show();
    // After the window's start-up, which loads the catalogue's first playlist.
    for (int i = 0; i < kTracks; ++i) TrackTable[i].SetFromPath(tracks[std::size_t(i)]);
    trackSlots = kTracks + 1;
    model.RefreshTrackList();
    auto* list = FindControlAs<QListWidget>(&dlg, IDC_TRACK_LIST);
    auto* play = FindControlAs<QPushButton>(&dlg, IDC_PLAY);
    auto* pause = FindControlAs<QPushButton>(&dlg, IDC_PAUSE);
    auto* stop = FindControlAs<QPushButton>(&dlg, IDC_STOP);
    auto* position = FindControlAs<QSlider>(&dlg, IDC_POSITION);
    auto* volume = FindControlAs<QSlider>(&dlg, IDC_VOLUME);
    if (!list || !play || !pause || !stop || !position || !volume) {
        std::fprintf(stderr, "the window lacks a control\n");
        return 1;
    }
    const auto doubleClick = [&](int row) {
        list->setCurrentRow(row);
        dlg.OnTrackDblClk();
    };

    // Every stream the player ever made, to find any left behind.
    HSTREAM lastStream = 0;
    long trackChanges = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (stream > lastStream) {
            ++trackChanges;
            lastStream = stream;
        }
    });
    watch.start(5);

    // The baseline: the engine and its output started once, then idle.
    doubleClick(0);
    QTest::qWait(1000);
    stop->click();
    QTest::qWait(kSettleMs);
    Report("start", Measure());

    long actions = 0;
    bool midwayDone = false;
    QElapsedTimer clock;
    clock.start();
    QTimer act;
    act.setSingleShot(true);
    QObject::connect(&act, &QTimer::timeout, [&] {
        const int choice = int(random() % 100);
        if (choice < 35)
            doubleClick(int(random() % kTracks));
        else if (choice < 55)
            position->setValue(int(random() % 101));
        else if (choice < 67)
            pause->click();
        else if (choice < 82)
            play->click();
        else
            volume->setValue(int(random() % 101));
        ++actions;
        if (!midwayDone && clock.elapsed() >= soakMs / 2) {
            midwayDone = true;
            Report("midway", Measure());
        }
        if (clock.elapsed() < soakMs)
            act.start(int(20 + random() % 700));
        else
            application.quit();
    });
    act.start(100);
    application.exec();

    stop->click();
    QTest::qWait(kSettleMs);
    const Usage end = Measure();
    long left = 0;
    for (HSTREAM handle = 1; handle <= lastStream; ++handle)
        left += engine->AudioIsActive(handle) != 0 || engine->AudioGetLength(handle) != 0;
    std::printf("track_changes %ld\nactions %ld\n", trackChanges, actions);
    Report("end", end);
    std::printf("streams_left %ld\n", left);
    dlg.reject();
    return 0;
}
