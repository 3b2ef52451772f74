#include "ui/dialog_template.h"

#include "ui/app_icon.h"
#include "ui/resource.h"
#include "ui/trackbar.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVariant>

namespace {

constexpr const char* kIdProperty = "controlId";

constexpr ControlTemplate kAboutControls[] = {
    {IDC_STATIC, ControlKind::Icon, "", 11, 17, 20, 20},
    {IDC_STATIC, ControlKind::StaticText, "Лирван Version 1.1", 40, 10, 119, 8},
    {IDC_STATIC, ControlKind::StaticText, "Copyright (C) 2026 Лирван", 40, 25, 119, 8},
    {IDC_ABOUT_OK, ControlKind::DefaultPushButton, "OK", 178, 6, 50, 16},
};

constexpr ControlTemplate kPlayerControls[] = {
    {IDC_PAUSE, ControlKind::PushButton, "Пауза", 185, 7, 50, 14},
    {IDC_STATUS, ControlKind::EditBox, "", 280, 26, 59, 13, "Состояние", "Играю, пауза или остановлено"},
    {IDC_OPEN, ControlKind::PushButton, "Открыть", 114, 133, 50, 14},
    {IDC_PLAY, ControlKind::PushButton, "Играть", 131, 7, 50, 14},
    {IDC_STOP, ControlKind::PushButton, "Стоп", 239, 7, 50, 14},
    {IDC_POSITION, ControlKind::TrackbarHorizontal, "", 21, 170, 278, 15, "Позиция",
     "Место в треке, в процентах"},
    {IDC_METER_SECOND, ControlKind::EditBox, "", 280, 65, 40, 14, "Уровень, средние частоты",
     "Индикатор уровня, вторая полоса"},
    {IDC_METER_FIRST, ControlKind::EditBox, "", 280, 47, 40, 14, "Уровень, низкие частоты",
     "Индикатор уровня, первая полоса"},
    {IDC_METER_THIRD, ControlKind::EditBox, "", 280, 83, 40, 14, "Уровень, высокие частоты",
     "Индикатор уровня, третья полоса"},
    {IDC_TRACK_LIST, ControlKind::ListBox, "", 113, 26, 160, 96, "Треки", "Треки выбранного плейлиста"},
    {IDC_PLAYLIST_LIST, ControlKind::ListBox, "", 23, 25, 85, 96, "Плейлисты", "Список плейлистов"},
    {IDC_CREATE_PLAYLIST, ControlKind::PushButton, "Создать", 24, 133, 40, 14},
    {IDC_VOLUME, ControlKind::TrackbarVertical, "", 281, 125, 12, 41, "Громкость",
     "Вверху громко, внизу тихо"},
    {IDC_STATIC, ControlKind::StaticText, "громк.", 295, 126, 23, 8},
    {IDC_STATIC, ControlKind::StaticText, "тихо", 295, 156, 17, 8},
    {IDC_STATIC, ControlKind::GroupBox, "Плейлист", 23, 123, 86, 43},
    {IDC_DELETE_PLAYLIST, ControlKind::PushButton, "Удалить", 24, 150, 40, 14, nullptr,
     "Удалить выбранный плейлист"},
    {IDC_ADD, ControlKind::PushButton, "Добавить", 167, 133, 50, 14},
    {IDC_STATIC, ControlKind::GroupBox, "Плейлист", 113, 123, 160, 43},
    {IDC_REMOVE_ALL, ControlKind::PushButton, "Удалить все", 114, 149, 50, 14},
    {IDC_REMOVE_TRACK, ControlKind::PushButton, "Удалить", 221, 133, 50, 14, nullptr,
     "Удалить выбранный трек"},
    {IDC_SAVE, ControlKind::PushButton, "Сохранить", 68, 133, 40, 14},
};

constexpr ControlTemplate kCreatePlaylistControls[] = {
    {IDC_CREATE_NAMED, ControlKind::PushButton, "Создать плейлист", 63, 54, 67, 18},
    {IDC_PLAYLIST_NAME, ControlKind::EditBox, "", 38, 35, 117, 14},
    {IDC_STATIC, ControlKind::CentredStaticText, "Введите имя файла", 39, 14, 116, 14},
};

// The Enter key of a template dialog: it presses the focused push button, else
// the default button, else confirms the dialog. Qt would instead make the first
// push button a default one and press that from anywhere.
class DialogEnterKey final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (!dialog) return false;
        if (auto* focused = qobject_cast<QPushButton*>(dialog->focusWidget())) {
            focused->click();
            return true;
        }
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            if (button->isDefault()) {
                button->click();
                return true;
            }
        }
        dialog->accept();
        return true;
    }
};

QWidget* CreateControl(QWidget* parent, const ControlTemplate& c)
{
    const QString caption = QString::fromUtf8(c.caption);
    switch (c.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        button->setDefault(c.kind == ControlKind::DefaultPushButton);
        return button;
    }
    case ControlKind::EditBox: return new QLineEdit(caption, parent);
    case ControlKind::ListBox: {
        auto* list = new QListWidget(parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return list;
    }
    case ControlKind::TrackbarHorizontal: return CreateTrackbar(Qt::Horizontal, parent);
    case ControlKind::TrackbarVertical: return CreateTrackbar(Qt::Vertical, parent);
    case ControlKind::StaticText:
    case ControlKind::CentredStaticText: {
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        if (c.kind == ControlKind::CentredStaticText) {
            label->setAlignment(Qt::AlignCenter);
            label->setFrameShape(QFrame::Box);
        }
        return label;
    }
    case ControlKind::GroupBox: {
        auto* group = new QGroupBox(caption, parent);
        group->setAlignment(Qt::AlignHCenter);
        return group;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(parent);
        label->setPixmap(AppIcon().pixmap(32, 32));
        return label;
    }
    }
    return nullptr;
}

} // namespace

const DialogTemplate kAboutTemplate{"About Лирван", 235, 55, kAboutControls};
const DialogTemplate kPlayerTemplate{"Лирван", 348, 201, kPlayerControls};
const DialogTemplate kCreatePlaylistTemplate{"Создание плейлиста", 193, 79, kCreatePlaylistControls};

QFont DialogFont()
{
    QFont font = QApplication::font();
    font.setPointSize(8);
    return font;
}

QSize DialogBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width =
        (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
    return {width, metrics.height()};
}

QRect DialogUnitsToPixels(const QRect& units, QSize baseUnits)
{
    auto horizontal = [&](int v) { return (v * baseUnits.width() + 2) / 4; };
    auto vertical = [&](int v) { return (v * baseUnits.height() + 4) / 8; };
    return {horizontal(units.x()), vertical(units.y()), horizontal(units.width()), vertical(units.height())};
}

void BuildDialog(QWidget* dialog, const DialogTemplate& dialogTemplate)
{
    const QFont font = DialogFont();
    const QSize base = DialogBaseUnits(font);
    dialog->setFont(font);
    dialog->installEventFilter(new DialogEnterKey(dialog));
    dialog->setWindowTitle(QString::fromUtf8(dialogTemplate.title));
    dialog->setFixedSize(
        DialogUnitsToPixels({0, 0, dialogTemplate.width, dialogTemplate.height}, base).size());
    for (const ControlTemplate& c : dialogTemplate.controls) {
        QWidget* control = CreateControl(dialog, c);
        control->setProperty(kIdProperty, c.id);
        if (c.id != IDC_STATIC) control->setObjectName(QStringLiteral("control%1").arg(c.id));
        control->setGeometry(DialogUnitsToPixels({c.x, c.y, c.width, c.height}, base));
        if (c.accessibleName) control->setAccessibleName(QString::fromUtf8(c.accessibleName));
        if (c.accessibleDescription)
            control->setAccessibleDescription(QString::fromUtf8(c.accessibleDescription));
        // A group box only frames the controls it surrounds; it must not cover them.
        if (c.kind == ControlKind::GroupBox) control->lower();
    }
}

QWidget* FindControl(const QWidget* dialog, int id)
{
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (ControlId(child) == id) return child;
    }
    return nullptr;
}

int ControlId(const QWidget* control)
{
    const QVariant id = control->property(kIdProperty);
    return id.isValid() ? id.toInt() : IDC_STATIC;
}
