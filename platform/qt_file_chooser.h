#pragma once
// The file chooser on Qt's own QFileDialog.

#include "platform/file_chooser.h"

#include <QStringList>

class QFileDialog;

// The names typed in the chooser's name box as paths, in the order typed: several
// names each in double quotes, else the whole text as one name. A relative name is
// taken in folder, "~" stands for the home folder, and a name without a "." gets
// "." and defaultSuffix (when one is given) unless a file of that very name exists.
// Nothing here needs the files to exist.
QStringList TypedFileNames(const QString& typed, const QString& folder, const QString& defaultSuffix);

// Shown without an owner and not modal: the main window stays usable, and its
// timer ticks, while the chooser is open; GetOpenFileName returns only once the
// chooser is closed. A typed name of a missing file is accepted; a typed name
// with "*" or "?" filters the view and keeps the chooser open. UI thread only.
class QtFileChooser final : public FileChooser {
public:
    // While a chooser is already open (asked again from the main window), brings it
    // to the front and returns 0 at once; the open chooser's answer still goes to
    // the call that opened it.
    int GetOpenFileName(const ChooserRequest& request, ChooserResult& result) override;

private:
    QFileDialog* m_open = nullptr;
};
