#include "app/player_app.h"

#include "desktop/desktop_doors.h"
#include "desktop/player_service.h"
#include "playback/playback_model.h"
#include "platform/engine/module_audio_engine.h"
#include "platform/message_box.h"
#include "platform/qt_file_chooser.h"
#include "ui/player_dlg.h"

#include <QApplication>
#include <QListWidget>

namespace lirvan {
CPlayerApp theApp;
} // namespace lirvan

bool CPlayerApp::InitInstance(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The framework's settings store is named; the player keeps nothing in it.
    QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QApplication::setApplicationName(QStringLiteral("lirvan1"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.1"));

    // One player per session: a player already running takes the files.
    if (HandOverToRunningPlayer(QApplication::arguments())) return false;

    std::unique_ptr<AudioEngine> engine = CreateModuleAudioEngine();
    PlaybackModel model(*engine);
    QtFileChooser chooser;
    QtMessageBoxes messages;
    {
        CPlayerDlg dlg(PlayerPlatform{model, chooser, messages});
        DesktopDoors doors(model, dlg, *dlg.TrackList(), QApplication::arguments());
        dlg.DoModal();
    }
    return false;
}
