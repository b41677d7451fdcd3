#pragma once

#include <functional>

class QWidget;

namespace shell {

// Runs `then` once from the event loop, right after the widget's first paint:
// work the first sight of a window need not wait for. Work asked for the same
// widget runs in the order it was asked for.
void afterFirstPaint(QWidget* widget, std::function<void()> then);

} // namespace shell
