#pragma once
// The create-playlist dialog: the user types the new playlist's
// name, and only its button accepts it.

#include <QDialog>
#include <string>

class MessageBoxes;
class QLineEdit;

class SozdPL : public QDialog {
    Q_OBJECT
public:
    // messages shows why a name was refused.
    explicit SozdPL(MessageBoxes& messages, QWidget* parent = nullptr);

    // The button: closes the dialog with an accepted name, or keeps it open.
    void OnClickedCreate();
    // Takes the edit box's text as m_newName unless it is empty, "PLT" (the
    // catalogue's own file) or unsafe for a file name and a catalogue line.
    bool AcceptName();

    // The accepted name: empty unless the button accepted one.
    std::string m_newName;

private:
    MessageBoxes& m_messages;
    QLineEdit* m_nameEdit = nullptr;
};
