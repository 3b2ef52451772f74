#include "playlists/playlist_messages.h"

#include "platform/message_box.h"
#include "playlists/tables.h"

std::string CatalogueFullText()
{
    return "Создано наибольшее возможное число плейлистов (" + std::to_string(kPlaylistRecords) +
        "); удалите ненужный плейлист";
}

void ShowError(MessageBoxes& messages, QWidget* owner, const char* text)
{
    messages.Show(owner, QString::fromUtf8(text), QString::fromUtf8(kErrorCaption), MessageButtons::Ok);
}

void ShowFileMessage(MessageBoxes& messages, QWidget* owner, const char* text, const char* caption,
                     const std::string& path)
{
    messages.Show(owner, QString::fromUtf8(text).arg(QString::fromStdString(path)),
                  QString::fromUtf8(caption), MessageButtons::Ok);
}
