#pragma once
// The real main window over the fake engine, chooser and message boxes, asking
// its chooser through the hand-over chooser as the application does.

#include "desktop/hand_over_chooser.h"
#include "player_harness.h"

#include <QListWidget>
#include <QLineEdit>
#include <memory>

struct DesktopWindow {
    DesktopWindow()
    {
        ResetPlayerState();
        dlg = std::make_unique<CPlayerDlg>(PlayerPlatform{engine, handOver, messages});
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
    FakeFileChooser userChooser;
    HandOverChooser handOver{userChooser};
    FakeMessageBoxes messages;
    std::unique_ptr<CPlayerDlg> dlg;
};
