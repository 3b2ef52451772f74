#include "platform/qt_file_chooser.h"

int QtFileChooser::GetOpenFileName(const ChooserRequest&, ChooserResult&) { return 0; }
