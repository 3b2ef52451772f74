#include "player_fixture.h"

#include <QSlider>

std::vector<std::string> PlayerTest::MakeFiles(const std::vector<std::string>& names)
{
    std::vector<std::string> paths;
    for (const std::string& name : names) {
        paths.push_back(h.folder.Path() + name);
        WriteBytes(paths.back(), "");
    }
    return paths;
}

void PlayerTest::OpenFiles(const std::vector<std::string>& names)
{
    h.chooser.Choose(MakeFiles(names));
    h.Click(IDC_OPEN);
}

void PlayerTest::AddFiles(const std::vector<std::string>& names)
{
    h.chooser.Choose(MakeFiles(names));
    h.Click(IDC_ADD);
}

void PlayerTest::DoubleClickTrack(int row)
{
    h.UserSelectRow(IDC_TRACK_LIST, row);
    h.DoubleClickRow(IDC_TRACK_LIST, row);
}

int PlayerTest::Slider(int id) { return h.Control<QSlider>(id)->value(); }

void PlayerTest::MoveSlider(int id, int value) { h.Control<QSlider>(id)->setValue(value); }

std::vector<std::string> PlayerTest::Created()
{
    std::vector<std::string> paths;
    for (const std::string& call : h.engine.CallsOf("AudioStreamCreateFile")) {
        paths.push_back(call.substr(std::string("AudioStreamCreateFile ").size()));
    }
    return paths;
}

std::string PlayerTest::LastCreated()
{
    const std::vector<std::string> paths = Created();
    return paths.empty() ? std::string() : paths.back();
}
