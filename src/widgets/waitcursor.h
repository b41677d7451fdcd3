#pragma once

#include <QGuiApplication>

namespace widgets {

// Shows the hourglass while a handler works and puts the pointer back when
// the scope ends, also when the handler ends by an error.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Drops every hourglass still shown (the program's error report does this).
inline void restoreAllCursors()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

} // namespace widgets
