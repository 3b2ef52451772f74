#pragma once
// What the playlist commands tell the user, and how they tell it.

class MessageBoxes;
class QWidget;

inline constexpr const char* kErrorCaption = "Ошибка";
inline constexpr const char* kPlaylistExistsText = "Создаваемый плейлист существует";
inline constexpr const char* kPlaylistNotCreatedText =
    "Не удалось создать файл плейлиста или записать его в каталог плейлистов";
inline constexpr const char* kTracksNotWrittenText =
    "Не удалось записать треки в файл плейлиста";
inline constexpr const char* kCatalogueFullText =
    "Создано наибольшее возможное число плейлистов (70); удалите ненужный плейлист";
inline constexpr const char* kNoPlaylistToSaveText =
    "Нет плейлиста для сохранения: сначала создайте плейлист";
inline constexpr const char* kUnsafeNameText =
    "Имя плейлиста не может содержать символы «/» и «*», перевод строки и нулевой символ";
inline constexpr const char* kDeleteQuestionText =
    "Вы действительно хотите удалить выделенный плейлист?";
inline constexpr const char* kDeleteCaption = "Удаление";
inline constexpr const char* kCatalogueNotWrittenText =
    "Не удалось записать каталог плейлистов; плейлист не удалён";
inline constexpr const char* kCatalogueNotReadText =
    "Не удалось прочитать каталог плейлистов; плейлист не удалён";
inline constexpr const char* kCatalogueMismatchText =
    "Строка каталога плейлистов не совпадает с выделенным плейлистом (каталог изменён "
    "вручную?); плейлист не удалён";

// A message box over owner with text, the caption kErrorCaption and an OK button.
void ShowError(MessageBoxes& messages, QWidget* owner, const char* text);
