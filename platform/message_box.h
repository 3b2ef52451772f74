#pragma once
// Message boxes owned by a window; behind an interface so that tests can answer them.

#include <QString>

class QWidget;

enum class MessageButtons { Ok, OkCancel };
// The answers, as the dialogs return them.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box modally over owner (no icon) and returns IDOK or IDCANCEL.
    virtual int Show(QWidget* owner, const QString& text, const QString& caption, MessageButtons buttons) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    int Show(QWidget* owner, const QString& text, const QString& caption, MessageButtons buttons) override;
};
