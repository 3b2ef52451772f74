#pragma once
// Drag and drop of files onto the main window: dropped on the track list they
// are added as "Добавить" adds chosen files; dropped anywhere else on the window
// they open as "Открыть" does. An event filter, so the window itself is unchanged.

#include <QObject>
#include <string>
#include <vector>

class CPlayerDlg;
class HandOverChooser;
class QMimeData;

class TrackDrops final : public QObject {
    Q_OBJECT
public:
    // Makes dlg and its track list accept drops and watches both. chooser must
    // be the one dlg asks; both must outlive this object.
    TrackDrops(CPlayerDlg& dlg, HandOverChooser& chooser);

protected:
    // User-interface thread. Drags carrying local files are accepted; a drop
    // runs the handler and is consumed, anything else passes on unchanged.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CPlayerDlg& m_dlg;
    HandOverChooser& m_chooser;
    QObject* m_trackList;
};

// The local files a drag carries, in its order, in the file system's encoding.
std::vector<std::string> DroppedFiles(const QMimeData* data);
