#pragma once
// What the desktop is told of a track beyond its record: its tags and the URL
// of its cover, read off the user-interface thread so that a slow disk never
// holds the window.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <string>

struct TrackDetails {
    // Empty (0 for the number) where the track has none.
    QString title;
    QStringList artists;
    QString album;
    QStringList albumArtists;
    int trackNumber = 0;
    // The file: URL of the cover: the embedded picture in the cover cache, else
    // cover.*, folder.* or front.* (jpg, jpeg, png, any letter case) beside the
    // track, in that order of preference.
    QString artUrl;
};

// The details of the track at path (file-system encoding). Blocks on the
// file's reading and the cover's writing; any thread.
TrackDetails ReadTrackDetails(const std::string& path);

// Reads details on a thread of its own, one track at a time; only the latest
// request is answered.
class TrackDetailsReader final : public QObject {
    Q_OBJECT
public:
    TrackDetailsReader();
    // Waits for a read under way (one file's tags), so none outlives this object.
    ~TrackDetailsReader() override;
    // Asks for the details of path; an earlier request not yet answered never
    // is. User-interface thread.
    void Read(std::string path);

signals:
    // The latest request's details, on the user-interface thread.
    void DetailsRead(const TrackDetails& details);

private:
    QThreadPool m_pool;
    std::atomic<unsigned> m_request{0};
};
