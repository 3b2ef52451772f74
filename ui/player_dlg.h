#pragma once
// The main window (IDD_PLAYER_DIALOG): the whole user interface. Its handlers are
// bound to the controls by one routing table; their bodies live with the
// subsystem they belong to (playback/, playlists/).

#include "ui/resource.h"

#include <QDialog>
#include <QIcon>
#include <string>

class AudioEngine;
class FileChooser;
class MessageBoxes;
class QLineEdit;
class QListWidget;
class QMenu;
class QSlider;

// The outside services the window works through.
struct PlayerPlatform {
    AudioEngine& engine;
    FileChooser& chooser;
    MessageBoxes& messages;
};

// Result slot of a slider's draw notification.
using LRESULT = long;

class CPlayerDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPlayerDlg(PlayerPlatform platform, QWidget* parent = nullptr);
    ~CPlayerDlg() override;

    // Shows the window and runs a loop of its own until the window closes (the
    // close box, Escape, or Enter outside a push button); returns the dialog's
    // result. The window is not application-modal, so an ownerless window opened
    // meanwhile (the file chooser) and the main window both take input; closing
    // the window closes such a window too.
    int DoModal();

    // Window initialisation: the catalogue, the About item, the icon.
    void OnInitDialog();

    // Application shell.
    void OnSysCommand(unsigned id, long param);
    QIcon OnQueryDragIcon() const;
    // Appends a separator and the About item (command 16) to the window's menu.
    void AppendSystemMenu(QMenu& menu);

    // Transport.
    void LoadTrack(std::string path);
    void OnPlay();
    void OnPause();
    void OnStop();
    void OnPositionSlider(const void* notification, LRESULT* result);
    void OnVolumeSlider(const void* notification, LRESULT* result);

    // Playback timer.
    void OnTimer(unsigned id);
    void PlayNext();

    // Choosing tracks.
    void OnOpen();
    void OnAdd();
    void OnTrackDblClk();

    // Track and playlist lists.
    void RefreshTrackList();
    void LoadCatalogue();
    void RefreshPlaylists();
    void OnPlaylistSelChange();

    // Playlist commands.
    void OnCreatePlaylist();
    void OnRemoveTrack();
    void OnRemoveAll();
    void OnSave();
    void OnDeletePlaylist();

    // The playback timer (identifier 1): starting it replaces a running one;
    // the result is the identifier to stop it with.
    unsigned SetTimer(unsigned id, unsigned milliseconds);
    void KillTimer(unsigned timer);
    bool PlaybackTimerRunning() const { return m_runningTimer != 0; }

    // Selects row (none when out of range) without sending a selection notification.
    static void SelectRow(QListWidget* list, int row);
    // The first selected item below count, or -1; an index without an item is not selected.
    static int FirstSelectedRow(const QListWidget* list, int count);

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ConnectRoutes();

    PlayerPlatform m_platform;
    QIcon m_hIcon;
    QLineEdit* m_status = nullptr;
    QSlider* m_position = nullptr;
    // Level meter boxes by band: IDC_METER_FIRST, IDC_METER_SECOND, IDC_METER_THIRD.
    QLineEdit* m_meter[3] = {};
    QListWidget* m_trackList = nullptr;
    QListWidget* m_playlistList = nullptr;
    QSlider* m_volume = nullptr;
    int m_runningTimer = 0;
    // Window events from the routing table.
    void (CPlayerDlg::*m_timerRoute)(unsigned) = nullptr;
    void (CPlayerDlg::*m_systemCommandRoute)(unsigned, long) = nullptr;
};

// Text of the About item of the window's menu (IDS_ABOUTBOX).
inline constexpr const char* kAboutMenuText = "&About lirvan1...";
