#pragma once
// Trackbars: QSliders that answer the keyboard and the mouse as the dialog
// templates' trackbar controls do.

#include <Qt>

class QSlider;
class QWidget;

// Range 0..100 at 0, line size 1, page size 20 (a fifth of the range), no tick
// marks; a vertical one has 0 at the top. Down, Right, Page Down and End move
// towards the maximum, Up, Left, Page Up and Home towards the minimum, whatever
// the orientation; a left click in the channel beside the thumb moves it one page
// towards the click (repeating while held). Every move changes the value, so it
// reaches whatever listens to valueChanged as a drag does. UI thread only.
QSlider* CreateTrackbar(Qt::Orientation orientation, QWidget* parent);
