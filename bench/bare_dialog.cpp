// The floor the player's start-up is measured against: an empty Qt 6 dialog
// with a title, shown and left running, built against the same Qt.

#include <QApplication>
#include <QDialog>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Лирван"));
    dialog.resize(400, 300);
    return dialog.exec();
}
