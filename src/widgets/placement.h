#pragma once

class QRect;
class QWidget;

namespace widgets {

// Centres a window on the screen by its outer size, frame included: left =
// (screen width - outer width) / 2 and top likewise, halved towards zero, so
// a window larger than the screen gets negative edges. A window's frame is
// known only once it is shown and the window manager has framed it: the
// window is placed now by what is known, and once more when its frame
// first shows.
void centreOnScreen(QWidget* window);

// Gives the window the area as its outer rectangle, frame included; again
// when its frame first shows.
void fillAreaWithFrame(QWidget* window, const QRect& area);

// The rule itself, for tests: the integer halving truncates towards zero.
int centredEdge(int screenExtent, int windowExtent);

} // namespace widgets
