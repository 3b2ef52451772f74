#include "platform/qt_file_chooser.h"

#include <QAbstractItemView>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>

namespace {

// "Shown text (*.a *.b)", as QFileDialog writes a filter.
QString NameFilter(const std::pair<std::string, std::string>& filter)
{
    QString patterns = QString::fromStdString(filter.second);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return QStringLiteral("%1 (%2)").arg(QString::fromStdString(filter.first), patterns);
}

std::string FileSystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Qt's dialog, whose existing-files mode refuses a typed name of a missing file:
// here confirming takes the typed names as they are, in the order typed. A typed
// folder is opened instead, as the dialog itself does, and typed wildcards
// filter the view.
class TypedNamesDialog final : public QFileDialog {
public:
    explicit TypedNamesDialog(bool several)
    {
        // A desktop's native dialog would refuse missing names itself.
        setOption(QFileDialog::DontUseNativeDialog);
        setAcceptMode(QFileDialog::AcceptOpen);
        // Any name may be confirmed; several may still be picked in the views.
        setFileMode(QFileDialog::AnyFile);
        if (!several) return;
        for (const char* view : {"listView", "treeView"}) {
            if (auto* items = findChild<QAbstractItemView*>(QLatin1String(view))) {
                items->setSelectionMode(QAbstractItemView::ExtendedSelection);
            }
        }
    }

    // What the user confirmed, as whole paths in the order typed.
    const QStringList& Chosen() const { return m_chosen; }

protected:
    void accept() override
    {
        QLineEdit* nameBox = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!nameBox) {
            // A dialog without the name box (another Qt) answers for itself.
            QFileDialog::accept();
            m_chosen = selectedFiles();
            return;
        }
        const QString typed = nameBox->text();
        if (typed.contains(QLatin1Char('*')) || typed.contains(QLatin1Char('?'))) {
            ShowMatching(typed);
            return;
        }
        const QStringList paths = TypedFileNames(typed, directory().absolutePath(), defaultSuffix());
        if (paths.isEmpty()) return;
        for (const QString& path : paths) {
            if (QFileInfo(path).isDir()) {
                setDirectory(path);
                nameBox->clear();
                return;
            }
        }
        m_chosen = paths;
        QDialog::accept();
    }

private:
    // Typed wildcards ("*.mp3", "~/music/*.m?d", several split by ";") show only
    // the names they match, in the folder the first one names, and the chooser
    // stays open; the list of filters stays as it was.
    void ShowMatching(const QString& typed)
    {
        auto* files = findChild<QFileSystemModel*>();
        if (!files) return;
        QStringList patterns;
        QString folder;
        for (const QString& piece : typed.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString& path : TypedFileNames(piece, directory().absolutePath(), QString())) {
                const QFileInfo pattern(path);
                if (folder.isEmpty()) folder = pattern.path();
                patterns << pattern.fileName();
            }
        }
        if (patterns.isEmpty()) return;
        if (QFileInfo(folder).isDir()) setDirectory(folder);
        files->setNameFilters(patterns);
    }

    QStringList m_chosen;
};

} // namespace

QStringList TypedFileNames(const QString& typed, const QString& folder, const QString& defaultSuffix)
{
    QStringList names;
    if (typed.contains(QLatin1Char('"'))) {
        // "a" "b": every second piece lies between a pair of quotes.
        const QStringList pieces = typed.split(QLatin1Char('"'));
        for (qsizetype i = 1; i < pieces.size(); i += 2) names << pieces[i];
    } else {
        names << typed;
    }
    QStringList paths;
    for (QString name : names) {
        if (name.isEmpty()) continue;
        if (name == QLatin1String("~") || name.startsWith(QLatin1String("~/"))) {
            name.replace(0, 1, QDir::homePath());
        }
        QString path = QDir::cleanPath(QDir(folder).absoluteFilePath(name));
        if (!defaultSuffix.isEmpty() && !QFileInfo(path).fileName().contains(QLatin1Char('.')) &&
            !QFileInfo::exists(path)) {
            path += QLatin1Char('.') + defaultSuffix;
        }
        paths << path;
    }
    return paths;
}

int QtFileChooser::GetOpenFileName(const ChooserRequest& request, ChooserResult& result)
{
    if (m_open) {
        m_open->raise();
        m_open->activateWindow();
        return 0;
    }
    TypedNamesDialog dialog(request.allowMultiSelect);
    QStringList filters;
    for (const auto& filter : request.filters) filters << NameFilter(filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));

    // No owner and no modality; the main window's own loop goes on underneath.
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    m_open = &dialog;
    dialog.show();
    loop.exec();
    m_open = nullptr;

    if (dialog.result() != QDialog::Accepted || dialog.Chosen().isEmpty()) return 0;
    // Without multi-select only the first typed name counts.
    std::vector<std::string> chosen;
    for (const QString& path : dialog.Chosen()) chosen.push_back(FileSystemName(path));
    if (!request.allowMultiSelect) chosen.resize(1);
    result = ChooserResultFor(chosen);
    return 1;
}
