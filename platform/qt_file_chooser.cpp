#include "platform/qt_file_chooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// "Shown text (*.a *.b)", as QFileDialog writes a filter.
QString NameFilter(const std::pair<std::string, std::string>& filter)
{
    QString patterns = QString::fromStdString(filter.second);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return QStringLiteral("%1 (%2)").arg(QString::fromStdString(filter.first), patterns);
}

std::string FileSystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }

// One file: its whole path, NUL NUL, the offset at its name. Several: the folder
// of the first, NUL, each name relative to it and NUL, one more NUL.
ChooserResult ResultFor(const QStringList& files)
{
    ChooserResult result;
    if (files.size() == 1) {
        result.buffer = FileSystemName(files.first());
        result.fileOffset = result.buffer.rfind('/') + 1;
        result.buffer += std::string(2, '\0');
        return result;
    }
    const QDir folder = QFileInfo(files.first()).absoluteDir();
    result.buffer = FileSystemName(folder.absolutePath()) + '\0';
    result.fileOffset = result.buffer.size();
    for (const QString& file : files) result.buffer += FileSystemName(folder.relativeFilePath(file)) + '\0';
    result.buffer += '\0';
    return result;
}

} // namespace

int QtFileChooser::GetOpenFileName(const ChooserRequest& request, ChooserResult& result)
{
    // No owner; the main window's timer goes on ticking in the dialog's loop.
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.allowMultiSelect ? QFileDialog::ExistingFiles
                                                : QFileDialog::ExistingFile);
    QStringList filters;
    for (const auto& filter : request.filters) filters << NameFilter(filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));

    if (dialog.exec() != QDialog::Accepted) return 0;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return 0;
    result = ResultFor(files);
    return 1;
}
