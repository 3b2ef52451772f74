// Plays one audio file through the whole player, as a double click on it would,
// and exits when the track has ended. The player reads no command line, so this
// is how a script runs it on a given file:
//
//     play_through FILE
//
// The window is created on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise; the sound goes wherever the engine's output goes.

#include "app/window_system.h"
#include "playback/playback_model.h"
#include "platform/engine/module_audio_engine.h"
#include "platform/message_box.h"
#include "platform/qt_file_chooser.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"

#include <QApplication>
#include <QListWidget>
#include <cstdio>

using namespace lirvan;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareWindowSystem();
    QApplication application(argc, argv);

    std::unique_ptr<AudioEngine> engine = CreateModuleAudioEngine();
    QtFileChooser chooser;
    QtMessageBoxes messages;
    PlaybackModel model(*engine);
    CPlayerDlg dlg(PlayerPlatform{model, chooser, messages});

    // A one-track list with the file selected, then the double click.
    TrackTable[0].SetFromPath(argv[1]);
    trackSlots = 2;
    currentTrack = 0;
    model.RefreshTrackList();
    dlg.OnTrackDblClk();
    if (stream == 0) {
        std::fprintf(stderr, "cannot play %s\n", argv[1]);
        return 1;
    }

    // At its end a one-track list loads the track again: then the run is over.
    // Told by the model, so that the harness adds no wake-ups of its own.
    QObject::connect(&model, &PlaybackModel::TrackLoaded, &dlg, &QDialog::reject);
    dlg.exec();
    return 0;
}
