#pragma once
// What the playlist commands tell the user, and how they tell it.

#include <string>

class MessageBoxes;
class QWidget;

inline constexpr const char* kErrorCaption = "Ошибка";
inline constexpr const char* kPlaylistExistsText = "Создаваемый плейлист существует";
inline constexpr const char* kPlaylistNotCreatedText =
    "Не удалось создать файл плейлиста или записать его в каталог плейлистов";
inline constexpr const char* kTracksNotWrittenText = "Не удалось записать треки в файл плейлиста";
inline constexpr const char* kNoPlaylistToSaveText =
    "Нет плейлиста для сохранения: сначала создайте плейлист";
inline constexpr const char* kUnsafeNameText =
    "Имя плейлиста не может содержать символы «/» и «*», перевод строки и нулевой символ";
inline constexpr const char* kDeleteQuestionText = "Вы действительно хотите удалить выделенный плейлист?";
inline constexpr const char* kDeleteCaption = "Удаление";
inline constexpr const char* kCatalogueNotWrittenText =
    "Не удалось записать каталог плейлистов; плейлист не удалён";
inline constexpr const char* kCatalogueNotReadText =
    "Не удалось прочитать каталог плейлистов; плейлист не удалён";
inline constexpr const char* kCatalogueMismatchText =
    "Строка каталога плейлистов не совпадает с выделенным плейлистом (каталог изменён "
    "вручную?); плейлист не удалён";
// After a deletion whose catalogue line named a file that is no playlist file of
// ours; "%1" stands for that file's path.
inline constexpr const char* kPlaylistFileKeptText =
    "Плейлист удалён из списка. Его файл оставлен нетронутым, так как это не файл плейлиста в "
    "папке плейлистов:\n%1";
// Save refused for the same reason; "%1" stands for the file's path.
inline constexpr const char* kForeignPlaylistFileText =
    "Файл этого плейлиста находится вне папки плейлистов или не является файлом плейлиста, "
    "поэтому записать в него нельзя; ничего не записано:\n%1";

// "Создать" with the playlist table full; the number is the table's size.
std::string CatalogueFullText();

// A message box over owner with text, the caption kErrorCaption and an OK button.
void ShowError(MessageBoxes& messages, QWidget* owner, const char* text);
// A message box over owner with text, its "%1" replaced by path, caption and an OK button.
void ShowFileMessage(MessageBoxes& messages, QWidget* owner, const char* text, const char* caption,
                     const std::string& path);
