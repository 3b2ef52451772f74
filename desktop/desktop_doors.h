#pragma once
// The desktop's ways into the player, opened together at start-up: files from
// the command line, drag and drop, MPRIS and the one-player service on the
// session bus. Each is a client of the playback model.

#include <QStringList>
#include <memory>

class MprisPlayer;
class PlaybackModel;
class PlayerService;
class QAbstractScrollArea;
class QWidget;

class DesktopDoors {
public:
    // Call on the user-interface thread once the window is built and before
    // its event loop runs; the files among arguments (QCoreApplication::arguments())
    // open as soon as it does. trackList is the window's, where drops add.
    // model and window must outlive this object. Without a session bus, MPRIS
    // and the service stay closed quietly.
    DesktopDoors(PlaybackModel& model, QWidget& window, QAbstractScrollArea& trackList,
                 const QStringList& arguments);
    ~DesktopDoors();

private:
    std::unique_ptr<MprisPlayer> m_mpris;
    std::unique_ptr<PlayerService> m_service;
};
