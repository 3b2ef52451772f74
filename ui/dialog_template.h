#pragma once
// Dialog templates: each control's identifier, kind, caption and place in dialog
// units, turned into real widgets placed with the dialog font's base units.

#include "ui/resource.h"

#include <QRect>
#include <QSize>
#include <span>

class QFont;
class QWidget;

enum class ControlKind {
    PushButton,
    DefaultPushButton,
    EditBox, // bordered, scrolls horizontally, editable
    ListBox, // bordered, vertical scroll bar, single selection
    TrackbarHorizontal,
    TrackbarVertical, // 0 at the top
    StaticText,
    CentredStaticText,
    GroupBox, // caption centred
    Icon,
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* caption; // UTF-8
    int x, y, width, height;
    // What a screen reader says for the control (UTF-8): its name where the caption
    // is none or says too little, and a description where the caption is ambiguous.
    // Null leaves the caption as the name, and no description.
    const char* accessibleName = nullptr;
    const char* accessibleDescription = nullptr;
};

struct DialogTemplate {
    const char* title; // UTF-8
    int width, height;
    std::span<const ControlTemplate> controls;
};

extern const DialogTemplate kAboutTemplate;
extern const DialogTemplate kPlayerTemplate;
extern const DialogTemplate kCreatePlaylistTemplate;

// The font every template is laid out in.
QFont DialogFont();
// Average character width and height of a font, as dialog units are measured.
QSize DialogBaseUnits(const QFont& font);
QRect DialogUnitsToPixels(const QRect& units, QSize baseUnits);

// Sets the dialog's title, font and fixed client size and creates every control
// as a child, in template (tab) order. Each control carries its identifier and
// its accessible name and description.
// Enter then presses the focused push button, else the default button, else
// confirms the dialog; Escape cancels it.
void BuildDialog(QWidget* dialog, const DialogTemplate& dialogTemplate);

// The control with that identifier, or null.
QWidget* FindControl(const QWidget* dialog, int id);
template <class Widget> Widget* FindControlAs(const QWidget* dialog, int id)
{
    return qobject_cast<Widget*>(FindControl(dialog, id));
}
// The identifier a control was built with, or IDC_STATIC.
int ControlId(const QWidget* control);
