#include "platform/message_box.h"

#include <QMessageBox>

int QtMessageBoxes::Show(QWidget* owner, const QString& text, const QString& caption, MessageButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text,
                    buttons == MessageButtons::Ok ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel,
                    owner);
    box.setEscapeButton(buttons == MessageButtons::Ok ? QMessageBox::Ok : QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok ? IDOK : IDCANCEL;
}
