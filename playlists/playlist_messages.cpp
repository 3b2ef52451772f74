#include "playlists/playlist_messages.h"

#include "platform/message_box.h"

void ShowError(MessageBoxes& messages, QWidget* owner, const char* text)
{
    messages.Show(owner, QString::fromUtf8(text), QString::fromUtf8(kErrorCaption),
                  MessageButtons::Ok);
}
