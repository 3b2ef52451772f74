#pragma once
// The main window: the whole user interface, one view of
// the playback model. Its handlers are bound to the controls by one routing
// table and stay thin: they hand the user's input to the playback model or to
// the playlist commands, and the controls show what the model notifies.

#include "playlists/playlist_window.h"
#include "ui/resource.h"

#include <QDialog>
#include <QIcon>
#include <string>

class FileChooser;
class MessageBoxes;
class PlaybackModel;
class QLineEdit;
class QListWidget;
class QMenu;
class QSlider;
enum class PlaybackState;

// The outside services the window works through.
struct PlayerPlatform {
    PlaybackModel& model;
    FileChooser& chooser;
    MessageBoxes& messages;
};

// Result slot of a slider's draw notification.
using LRESULT = long;

class CPlayerDlg : public QDialog, private PlaylistWindow {
    Q_OBJECT
public:
    // The model must outlive the window.
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
    void OnPlay();
    void OnPause();
    void OnStop();
    void OnPositionSlider(const void* notification, LRESULT* result);
    void OnVolumeSlider(const void* notification, LRESULT* result);

    // Playback timer.
    void OnTimer(unsigned id);

    // Choosing tracks.
    void OnOpen();
    void OnAdd();
    void OnTrackDblClk();

    // Track and playlist lists.
    void LoadCatalogue();
    void RefreshPlaylists() override;
    void OnPlaylistSelChange();

    // Playlist commands.
    void OnCreatePlaylist();
    void OnRemoveTrack();
    void OnRemoveAll();
    void OnSave();
    void OnDeletePlaylist();

    // Whether the playback timer runs.
    bool PlaybackTimerRunning() const;
    // The track list, where dropped files are added.
    QListWidget* TrackList() const { return m_trackList; }

    // Selects row (none when out of range) without sending a selection notification.
    static void SelectRow(QListWidget* list, int row);
    // The first selected item below count, or -1; an index without an item is not selected.
    static int FirstSelectedRow(const QListWidget* list, int count);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ConnectRoutes();
    // The views of the model's notifications.
    void ConnectModel();
    void ShowState(PlaybackState state);
    void ShowTrackLoaded(int index);
    void ShowTracks();
    void ShowMeter(int band, int bars);
    void ShowVolume(int volume);
    void ReportLeftOut(std::size_t count);

    // What the playlist commands ask of the window.
    MessageBoxes& Messages() override { return m_platform.messages; }
    QWidget* Owner() override { return this; }
    int SelectedPlaylistRow() override;
    int SelectedTrackRow() override;
    std::string AskPlaylistName() override;
    void RefreshTrackList() override;
    void EmptyLists() override;
    void StopPlayback() override { OnStop(); }

    PlayerPlatform m_platform;
    QIcon m_hIcon;
    QLineEdit* m_status = nullptr;
    QSlider* m_position = nullptr;
    // Level meter boxes by band: IDC_METER_FIRST, IDC_METER_SECOND, IDC_METER_THIRD.
    QLineEdit* m_meter[3] = {};
    QListWidget* m_trackList = nullptr;
    QListWidget* m_playlistList = nullptr;
    QSlider* m_volume = nullptr;
    // Window events from the routing table.
    void (CPlayerDlg::*m_timerRoute)(unsigned) = nullptr;
    void (CPlayerDlg::*m_systemCommandRoute)(unsigned, long) = nullptr;
};

// Text of the About item of the window's menu.
inline constexpr const char* kAboutMenuText = "&About lirvan1...";
