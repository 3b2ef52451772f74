// Deletes playlists for as long as it lives, through the real window's delete
// button with the question answered OK: the victim of the deletion-kill test.
//   deletion_kill_driver FOLDER PLAYLISTS
// FOLDER stands in for the executable's folder (its pl/ must exist). Whenever
// the catalogue is empty it creates PLAYLISTS playlists named p<pid>_<n>, n
// counting up, so a catalogue is always a run of consecutive playlists.
// It writes one byte to standard output once it is deleting.

#include "playback/playback_model.h"
#include "fake_audio_engine.h"
#include "fake_platform.h"
#include "platform/executable_folder.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"

#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <string>

using namespace lirvan;

int main(int argc, char** argv)
{
    if (argc != 3) return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    OverrideExecutableFolder(argv[1]);
    const int playlists = std::atoi(argv[2]);

    FakeAudioEngine engine;
    FakeFileChooser chooser;
    FakeMessageBoxes messages;
    messages.answer = IDOK;
    PlaybackModel model(engine);
    CPlayerDlg dlg(PlayerPlatform{model, chooser, messages});

    const std::string prefix = "p" + std::to_string(getpid()) + "_";
    int created = 0;
    bool told = false;
    for (;;) {
        if (playlistCount == 0) {
            for (int i = 0; i < playlists; ++i) {
                PList record;
                record.CreatePlaylistFile(prefix + std::to_string(created++));
                record.AppendTrack("/m/track.mp3");
            }
            dlg.LoadCatalogue();
        }
        if (!told) told = write(STDOUT_FILENO, "!", 1) == 1;
        dlg.OnDeletePlaylist();
    }
}
