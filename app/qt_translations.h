#pragma once
// Qt's own texts in the user's language: the file chooser's and the message
// boxes' buttons, the context menus of lists and text boxes.

// Loads Qt's translation for the user's locale from Qt's translations folder
// (qtbase_<language>.qm, else the whole qt_<language>.qm) and installs it in the
// application, which owns it. Without one for that locale (an English locale,
// or Qt's translations not installed) Qt's texts stay English; nothing is said.
// UI thread, once, after the QApplication is made and before the first window.
void LoadQtTranslations();
