#pragma once
// The application icon: a note on a disc, drawn in several sizes.

#include <QIcon>
#include <QPixmap>
#include <QPoint>

QIcon AppIcon();

// The icon drawn at size x size pixels: the one drawing behind AppIcon() and
// the icon theme's files.
QPixmap DrawIcon(int size);

// Where a minimised window draws its icon: centred in the client area, each
// coordinate (client - icon + 1) / 2, truncated toward zero.
QPoint IconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);
