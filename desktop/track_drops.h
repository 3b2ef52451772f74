#pragma once
// Drag and drop of files onto the main window: dropped on the track list they
// are added as "Добавить" adds chosen files; dropped anywhere else on the window
// they open as "Открыть" does. An event filter, so the window itself is unchanged.

#include <QObject>
#include <string>
#include <vector>

class PlaybackModel;
class QAbstractScrollArea;
class QMimeData;

class TrackDrops final : public QObject {
    Q_OBJECT
public:
    // Makes window and trackList (one of its children) accept drops and watches
    // both; owned by window. model must outlive it.
    TrackDrops(QWidget& window, QAbstractScrollArea& trackList, PlaybackModel& model);

protected:
    // User-interface thread. Drags carrying local files are accepted; a drop
    // hands them to the model and is consumed, anything else passes on unchanged.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PlaybackModel& m_model;
    QObject* m_trackList;
};

// The local files a drag carries, in its order, in the file system's encoding.
std::vector<std::string> DroppedFiles(const QMimeData* data);
