#pragma once
// Fakes of the chooser and the message boxes, and a temporary folder that stands
// in for the executable's folder.

#include "platform/file_chooser.h"
#include "platform/message_box.h"

#include <string>
#include <vector>

class FakeFileChooser final : public FileChooser {
public:
    int answer = 1;     // 1: chosen; anything else: cancelled
    ChooserResult next; // what a confirmed chooser hands back
    int shown = 0;
    ChooserRequest lastRequest;

    // Makes the chooser hand back these files, in the platform's two shapes:
    // several files in one folder, or one whole path.
    void Choose(const std::vector<std::string>& paths);
    int GetOpenFileName(const ChooserRequest& request, ChooserResult& result) override;
};

struct ShownMessage {
    QString text;
    QString caption;
    MessageButtons buttons;
};

class FakeMessageBoxes final : public MessageBoxes {
public:
    int answer = IDOK;
    std::vector<ShownMessage> shown;
    int Show(QWidget* owner, const QString& text, const QString& caption, MessageButtons buttons) override;
};

// A fresh folder with an empty pl/ in it, answered by ExecutableFolder() while it lives.
class TempExeFolder {
public:
    TempExeFolder();
    ~TempExeFolder();
    TempExeFolder(const TempExeFolder&) = delete;
    TempExeFolder& operator=(const TempExeFolder&) = delete;

    // The folder, ending in "/".
    const std::string& Path() const { return m_path; }
    std::string Pl(const std::string& name = "") const { return m_path + "pl/" + name; }

private:
    std::string m_path;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
