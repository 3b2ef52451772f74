#pragma once
// Files named on the command line ("Open with Лирван", Exec=lirvan1 %F).

#include <QStringList>
#include <string>
#include <vector>

class CPlayerDlg;
class HandOverChooser;

// The files among the arguments after the program's name, as absolute paths in
// the file system's encoding, in order; relative ones are taken from the
// current folder, empty ones are skipped.
std::vector<std::string> CommandLineFiles(const QStringList& arguments);

// Does what "Открыть" does with files chosen: hands them to chooser, which the
// window must ask, and runs the window's Open handler. Nothing without files.
// User-interface thread, after the window is initialised.
void OpenFiles(CPlayerDlg& dlg, HandOverChooser& chooser, std::vector<std::string> files);
// The same for "Добавить".
void AddFiles(CPlayerDlg& dlg, HandOverChooser& chooser, std::vector<std::string> files);
