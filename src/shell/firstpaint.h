#pragma once

#include <functional>

class QWidget;

// Runs `then` once from the event loop, right after the widget's first paint:
// work the first sight of a window need not wait for.
void afterFirstPaint(QWidget* widget, std::function<void()> then);
