#include "app/player_app.h"

#include "platform/audio_engine.h"
#include "platform/message_box.h"
#include "platform/qt_file_chooser.h"
#include "ui/player_dlg.h"

#include <QApplication>

CPlayerApp theApp;

bool CPlayerApp::InitInstance(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The framework's settings store is named; the player keeps nothing in it.
    QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QApplication::setApplicationName(QStringLiteral("lirvan1"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.1"));

    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    QtFileChooser chooser;
    QtMessageBoxes messages;
    {
        CPlayerDlg dlg(PlayerPlatform{*engine, chooser, messages});
        dlg.DoModal();
    }
    return false;
}
