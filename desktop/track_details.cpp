#include "desktop/track_details.h"

#include "desktop/cover_cache.h"
#include "desktop/file_urls.h"
#include "platform/track_tags.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

namespace {

// The names a cover beside a track may have, in the order preferred.
const QStringList kCoverNames{QStringLiteral("cover"), QStringLiteral("folder"), QStringLiteral("front")};
const QStringList kCoverExtensions{QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png")};

// The cover picture beside the track at path; empty without one.
std::string CoverBeside(const std::string& path)
{
    const QDir folder = QFileInfo(QFile::decodeName(path.c_str())).dir();
    QStringList patterns;
    for (const QString& name : kCoverNames) patterns << name + QStringLiteral(".*");
    // Without QDir::CaseSensitive the patterns match any letter case; without
    // QDir::System no pipe or device is listed.
    const QStringList found = folder.entryList(patterns, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : kCoverNames) {
        for (const QString& extension : kCoverExtensions) {
            for (const QString& file : found) {
                if (file.compare(name + QLatin1Char('.') + extension, Qt::CaseInsensitive) == 0)
                    return QFile::encodeName(folder.filePath(file)).toStdString();
            }
        }
    }
    return {};
}

QStringList ListOf(const std::vector<std::string>& values)
{
    QStringList list;
    for (const std::string& value : values) list << QString::fromStdString(value);
    return list;
}

} // namespace

TrackDetails ReadTrackDetails(const std::string& path)
{
    const TrackTags tags = ReadTrackTags(path);
    TrackDetails details{
        QString::fromStdString(tags.title), ListOf(tags.artists), QString::fromStdString(tags.album),
        ListOf(tags.albumArtists),          tags.trackNumber,     {}};
    // A picture that cannot be cached gives way to the one beside the track.
    std::string cover = CachedCover(tags.picture, tags.pictureMimeType);
    if (cover.empty()) cover = CoverBeside(path);
    if (!cover.empty()) details.artUrl = FileUrlOf(cover);
    return details;
}

TrackDetailsReader::TrackDetailsReader() { m_pool.setMaxThreadCount(1); }

TrackDetailsReader::~TrackDetailsReader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void TrackDetailsReader::Read(std::string path)
{
    const unsigned request = ++m_request;
    m_pool.start([this, request, path = std::move(path)] {
        // Tracks skipped past before their turn are not read at all.
        if (request != m_request) return;
        TrackDetails details = ReadTrackDetails(path);
        QMetaObject::invokeMethod(
            this,
            [this, request, details = std::move(details)] {
                if (request == m_request) emit DetailsRead(details);
            },
            Qt::QueuedConnection);
    });
}
