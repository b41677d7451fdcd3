#pragma once

class QWidget;

// Centres a window on the screen by its outer size: left = (screen width -
// window width) / 2 and top likewise, halved towards zero, so a window larger
// than the screen gets negative edges.
void centreOnScreen(QWidget* window);

// The rule itself, for tests: the integer halving truncates towards zero.
int centredEdge(int screenExtent, int windowExtent);
