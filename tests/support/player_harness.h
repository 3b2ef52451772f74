#pragma once
// The real main window over fake platform layers, with the player's global state
// reset and a temporary executable folder, for window tests.

#include "fake_audio_engine.h"
#include "fake_platform.h"
#include "playback/playback_model.h"
#include "ui/dialog_template.h"
#include "ui/player_dlg.h"

#include <functional>
#include <memory>
#include <string>

class QFileDialog;

// Puts every table, counter, transport and meter value back to its start-up value.
void ResetPlayerState();

class PlayerHarness {
public:
    // Lays out the folder first (catalogue, playlists), then call Open().
    PlayerHarness();
    ~PlayerHarness();

    // Creates the window, which loads the catalogue.
    CPlayerDlg& Open();
    CPlayerDlg& Dlg() { return *m_dlg; }
    PlaybackModel& Model() { return model; }

    template <class Widget> Widget* Control(int id) { return FindControlAs<Widget>(m_dlg.get(), id); }
    void Click(int id);
    void DoubleClickRow(int listId, int row);
    // Selects a row of a list as the user would, with the notification.
    void UserSelectRow(int listId, int row);
    QStringList Items(int listId);
    int SelectedRow(int listId);
    QString Text(int editId);

    TempExeFolder folder;
    FakeAudioEngine engine;
    PlaybackModel model{engine};
    FakeFileChooser chooser;
    FakeMessageBoxes messages;

private:
    std::unique_ptr<CPlayerDlg> m_dlg;
};

// Runs action on the next modal window to open (the About box, a dialog), from
// inside its own loop; the action should close it.
void WhenModalOpens(std::function<void(QWidget*)> action);
// Runs action on the next file chooser to show (it is not modal), from inside the
// chooser's loop; the action should close it.
void WhenChooserOpens(std::function<void(QFileDialog*)> action);
// Shows folder in an open chooser and gives its listing a moment to come in.
void ShowChooserFolder(QFileDialog* chooser, const std::string& folder);
// Types into an open chooser's file-name box, as the user would, and presses Enter.
void TypeInChooser(QFileDialog* chooser, const QString& typed);
