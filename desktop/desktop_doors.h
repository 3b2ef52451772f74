#pragma once
// The desktop's ways into the main window, opened together at start-up: files
// from the command line, drag and drop, and MPRIS on the session bus.

#include <QStringList>
#include <memory>

class AudioEngine;
class CPlayerDlg;
class HandOverChooser;
class MprisPlayer;

class DesktopDoors {
public:
    // Call on the user-interface thread once dlg is built and before its event
    // loop runs; the files among arguments (QCoreApplication::arguments()) open
    // as soon as it does. dlg, engine and chooser (the one dlg asks) must
    // outlive this object. Without a session bus, MPRIS stays closed quietly.
    DesktopDoors(CPlayerDlg& dlg, AudioEngine& engine, HandOverChooser& chooser,
                 const QStringList& arguments);
    ~DesktopDoors();

private:
    std::unique_ptr<MprisPlayer> m_mpris;
};
