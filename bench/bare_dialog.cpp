// The floor the player's start-up is measured against: an empty Qt 6 dialog
// with a title, shown and left running, built against the same Qt.
//
//     bare_dialog [--button]
//
// With --button the dialog holds one push button with a caption: the least a
// window with any text pays before it shows, the fonts and the accessibility
// bridge that the first caption starts, which the empty dialog never needs.

#include <QApplication>
#include <QDialog>
#include <QPushButton>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Лирван"));
    dialog.resize(400, 300);
    if (QApplication::arguments().contains(QStringLiteral("--button")))
        new QPushButton(QStringLiteral("Играть"), &dialog);
    return dialog.exec();
}
