#pragma once
// The main window's routing table: what arrives, from which control, and which
// member handles it. The window walks it once to connect its controls.

#include "ui/player_dlg.h"

#include <span>
#include <variant>

enum class RouteEvent {
    SystemCommand,
    Paint,
    DragIconQuery,
    TimerTick,
    Click,
    DoubleClick,
    SelectionChange,
    CustomDraw,
};

using PlainHandler = void (CPlayerDlg::*)();
using TimerHandler = void (CPlayerDlg::*)(unsigned);
using SystemCommandHandler = void (CPlayerDlg::*)(unsigned, long);
using DrawHandler = void (CPlayerDlg::*)(const void*, LRESULT*);
using IconHandler = QIcon (CPlayerDlg::*)() const;
// The window's own painting, which has no member of its own in the table.
struct WindowPaint { };

struct Route {
    RouteEvent event;
    int control; // 0 for the window itself
    std::variant<PlainHandler, TimerHandler, SystemCommandHandler, DrawHandler, IconHandler, WindowPaint>
        handler;
};

std::span<const Route> PlayerRoutes();
