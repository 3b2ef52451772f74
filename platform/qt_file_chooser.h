#pragma once
// The file chooser on QFileDialog.

#include "platform/file_chooser.h"

class QtFileChooser final : public FileChooser {
public:
    int GetOpenFileName(const ChooserRequest& request, ChooserResult& result) override;
};
