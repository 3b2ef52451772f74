#include "desktop/command_line.h"

#include "desktop/hand_over_chooser.h"
#include "ui/player_dlg.h"

#include <QFile>
#include <QFileInfo>

std::vector<std::string> CommandLineFiles(const QStringList& arguments)
{
    std::vector<std::string> files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].isEmpty()) continue;
        files.push_back(QFile::encodeName(QFileInfo(arguments[i]).absoluteFilePath()).toStdString());
    }
    return files;
}

void OpenFiles(CPlayerDlg& dlg, HandOverChooser& chooser, std::vector<std::string> files)
{
    if (files.empty()) return;
    chooser.HandOver(std::move(files));
    dlg.OnOpen();
}

void AddFiles(CPlayerDlg& dlg, HandOverChooser& chooser, std::vector<std::string> files)
{
    if (files.empty()) return;
    chooser.HandOver(std::move(files));
    dlg.OnAdd();
}
