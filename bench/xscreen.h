#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>

// A private X server (Xvfb) and a watcher on it that sees when a program's
// window first shows, from the server's own events rather than by polling.
// The watcher is the screen's window manager: a window asks it to be mapped
// (MapRequest), it asks for the window's Expose events and maps it, so the
// first Expose, the server telling the program to paint, cannot slip by.
class XScreen {
public:
    XScreen();
    ~XScreen();

    // False when no Xvfb could be started or reached; why() says why.
    bool ready() const { return m_connection != nullptr; }
    QString why() const { return m_why; }
    // ":N", for the programs' DISPLAY.
    QString display() const { return m_display; }

    // Handles what earlier programs left (their windows' last events).
    void settle();
    // Milliseconds on `sinceStart` (started with the program) to the first
    // Expose of a window mapped since the last settle(); -1 after 30 s.
    double waitForFirstExpose(const QElapsedTimer& sinceStart);

private:
    // Grants map and configure requests as a window manager does; true on an
    // Expose of a window it mapped.
    bool handle(const void* event); // an xcb_generic_event_t

    QProcess m_server;
    QString m_display;
    QString m_why;
    struct xcb_connection_t* m_connection = nullptr;
    quint32 m_root = 0;
};
