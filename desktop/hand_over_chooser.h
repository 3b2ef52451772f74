#pragma once
// A file chooser that can be handed files to answer with: the command line and
// drag and drop put their files in it, then run "Открыть" or "Добавить", so
// those handlers' own logic takes the files exactly as if the user had chosen
// them. Without handed files it asks the chooser it wraps.

#include "platform/file_chooser.h"

#include <string>
#include <vector>

class HandOverChooser final : public FileChooser {
public:
    // ask: the chooser shown to the user; it must outlive this one.
    explicit HandOverChooser(FileChooser& ask) : m_ask(ask) { }

    // The next GetOpenFileName answers with these absolute paths, in this order,
    // instead of asking; an empty list is a cancelled choice.
    void HandOver(std::vector<std::string> paths);
    // Answers once with the handed files, if any; otherwise asks the wrapped chooser.
    int GetOpenFileName(const ChooserRequest& request, ChooserResult& result) override;

private:
    FileChooser& m_ask;
    std::vector<std::string> m_handed;
    bool m_pending = false;
};

// The chooser's result for these absolute paths, which may lie in different
// folders: an empty folder and each path without its leading "/". A path that
// does not open for reading gets a trailing "/", which the result's reader cuts
// off again, so that such a file reaches the track list as given.
ChooserResult ChooserResultForPaths(const std::vector<std::string>& paths);
