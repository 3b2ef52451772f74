#pragma once
// The application icon (resource 128): a note on a disc, drawn in several sizes.

#include <QIcon>
#include <QPoint>

QIcon AppIcon();

// Where a minimised window draws its icon: centred in the client area, each
// coordinate (client - icon + 1) / 2, truncated toward zero.
QPoint IconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);
