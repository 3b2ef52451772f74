#include "desktop/file_urls.h"

#include <QFile>

std::string LocalPathOf(const QUrl& url)
{
    if (!url.isLocalFile()) return {};
    return QFile::encodeName(url.toLocalFile()).toStdString();
}

QString FileUrlOf(const std::string& path)
{
    return QUrl::fromLocalFile(QFile::decodeName(path.c_str())).toString(QUrl::FullyEncoded);
}
