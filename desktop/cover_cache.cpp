#include "desktop/cover_cache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// The file name's extension for a picture; empty for a kind a desktop may not show.
QString ExtensionOf(const std::string& picture, const std::string& mimeType)
{
    const QString type = QString::fromStdString(mimeType).toLower();
    if (type == QLatin1String("image/jpeg") || type == QLatin1String("image/jpg"))
        return QStringLiteral("jpg");
    if (type == QLatin1String("image/png")) return QStringLiteral("png");
    if (type == QLatin1String("image/gif")) return QStringLiteral("gif");
    if (type == QLatin1String("image/bmp")) return QStringLiteral("bmp");
    if (type == QLatin1String("image/webp")) return QStringLiteral("webp");
    // Files that name no type, or one of their own: the bytes' signature.
    if (picture.starts_with("\xFF\xD8\xFF")) return QStringLiteral("jpg");
    if (picture.starts_with("\x89PNG")) return QStringLiteral("png");
    if (picture.starts_with("GIF8")) return QStringLiteral("gif");
    return {};
}

} // namespace

std::string CachedCover(const std::string& picture, const std::string& mimeType)
{
    const QString extension = ExtensionOf(picture, mimeType);
    if (picture.empty() || extension.isEmpty()) return {};
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
        QStringLiteral("/lirvan1/covers");
    const QByteArray bytes = QByteArray::fromRawData(picture.data(), static_cast<qsizetype>(picture.size()));
    const QString name =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    const QString target = folder + QLatin1Char('/') + name + QLatin1Char('.') + extension;
    // The name is the content: a file there already holds these bytes.
    if (QFileInfo(target).isFile()) return QFile::encodeName(target).toStdString();
    if (!QDir().mkpath(folder)) return {};
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) return {};
    return QFile::encodeName(target).toStdString();
}
