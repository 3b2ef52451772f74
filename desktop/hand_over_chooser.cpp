#include "desktop/hand_over_chooser.h"

#include "platform/text_file.h"

void HandOverChooser::HandOver(std::vector<std::string> paths)
{
    m_handed = std::move(paths);
    m_pending = true;
}

int HandOverChooser::GetOpenFileName(const ChooserRequest& request, ChooserResult& result)
{
    if (!m_pending) return m_ask.GetOpenFileName(request, result);
    m_pending = false;
    if (m_handed.empty()) return 0;
    result = ChooserResultForPaths(m_handed);
    m_handed.clear();
    return 1;
}

ChooserResult ChooserResultForPaths(const std::vector<std::string>& paths)
{
    // The reader joins the folder and each name with "/": an empty folder leaves
    // the whole path.
    ChooserResult result;
    result.buffer.push_back('\0');
    result.fileOffset = result.buffer.size();
    for (const std::string& path : paths) {
        result.buffer += path.substr(path.starts_with('/') ? 1 : 0);
        if (!TextFile::Open(path, TextFile::Access::Read)) result.buffer += '/';
        result.buffer.push_back('\0');
    }
    result.buffer.push_back('\0');
    return result;
}
