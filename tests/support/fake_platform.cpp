#include "fake_platform.h"

#include "platform/executable_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

void FakeFileChooser::Choose(const std::vector<std::string>& paths) { next = ChooserResultFor(paths); }

int FakeFileChooser::GetOpenFileName(const ChooserRequest& request, ChooserResult& result)
{
    ++shown;
    lastRequest = request;
    if (answer == 1) result = next;
    return answer;
}

int FakeMessageBoxes::Show(QWidget*, const QString& text, const QString& caption, MessageButtons buttons)
{
    shown.push_back({text, caption, buttons});
    return answer;
}

TempExeFolder::TempExeFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "lirvan-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern + "/";
    std::filesystem::create_directory(m_path + "pl");
    OverrideExecutableFolder(m_path);
}

TempExeFolder::~TempExeFolder()
{
    OverrideExecutableFolder("");
    std::error_code ignored;
    std::filesystem::permissions(m_path + "pl", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }
