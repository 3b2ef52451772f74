#pragma once
// Catalogues and playlist files laid out in a test's executable folder, and the
// create-playlist dialog driven as the user would.

#include "tests/support/player_harness.h"

#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

// Tracks of a playlist, shown as "a", "b", "c".
inline const std::vector<std::string> kThreeTracks = {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"};

// The lines, each ended with CR LF as the player writes them.
inline std::string CrLf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// Writes pl/<name>.plt holding the tracks and appends its catalogue line; returns the file's path.
inline std::string AddPlaylist(const TempExeFolder& folder, const std::string& name,
                               const std::vector<std::string>& tracks)
{
    const std::string path = folder.Pl(name + ".plt");
    WriteBytes(path, CrLf(tracks));
    WriteBytes(folder.Pl("PLT.plt"), ReadBytes(folder.Pl("PLT.plt")) + CrLf({path + "*" + name}));
    return path;
}

struct DialogOutcome {
    bool stayedOpen = false; // the button left the dialog open (it is then cancelled)
    QString textLeft;        // what the edit box held after the button
};

// Clicks "Создать", types name into the dialog and clicks its button.
inline DialogOutcome CreateNamed(PlayerHarness& h, const QString& name)
{
    DialogOutcome outcome;
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        auto* edit = FindControlAs<QLineEdit>(dialog, IDC_PLAYLIST_NAME);
        edit->setText(name);
        FindControlAs<QPushButton>(dialog, IDC_CREATE_NAMED)->click();
        outcome.stayedOpen = dialog->isVisible();
        outcome.textLeft = edit->text();
        if (outcome.stayedOpen) dialog->reject();
    });
    h.Click(IDC_CREATE_PLAYLIST);
    return outcome;
}
