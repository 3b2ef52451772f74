#pragma once
// The real main window over the playback model on the fake engine, with the
// fake chooser and message boxes.

#include "player_harness.h"

#include <QListWidget>
#include <QLineEdit>
#include <memory>

struct DesktopWindow {
    DesktopWindow()
    {
        ResetPlayerState();
        dlg = std::make_unique<CPlayerDlg>(PlayerPlatform{model, userChooser, messages});
        dlg->show();
    }
    // A file of that name in the temporary folder, made so that it opens.
    std::string File(const std::string& name)
    {
        WriteBytes(folder.Path() + name, "audio");
        return folder.Path() + name;
    }
    QStringList Tracks() const
    {
        QStringList items;
        auto* list = FindControlAs<QListWidget>(dlg.get(), IDC_TRACK_LIST);
        for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
        return items;
    }
    QString Status() const { return FindControlAs<QLineEdit>(dlg.get(), IDC_STATUS)->text(); }

    TempExeFolder folder;
    FakeAudioEngine engine;
    PlaybackModel model{engine};
    FakeFileChooser userChooser;
    FakeMessageBoxes messages;
    std::unique_ptr<CPlayerDlg> dlg;
};
