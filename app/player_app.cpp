#include "app/player_app.h"

#include "app/qt_translations.h"
#include "app/window_system.h"
#include "desktop/desktop_doors.h"
#include "desktop/desktop_entry.h"
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
    PrepareWindowSystem();
    QApplication application(argc, argv);
    // The framework's settings store is named; the player keeps nothing in it.
    QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    // The desktop entry's id is the window's class on X11 (Qt takes the application's
    // name) and its app id on Wayland, by which the dock puts it under the entry's icon.
    QApplication::setApplicationName(QString::fromLatin1(kDesktopEntry));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.1"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopEntry));
    LoadQtTranslations();

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
