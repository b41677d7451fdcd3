#include "placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

int centredEdge(int screenExtent, int windowExtent)
{
    return (screenExtent - windowExtent) / 2; // C++ division truncates towards zero
}

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize screenSize = screen->geometry().size();
    const QSize outer = window->frameGeometry().size();
    window->move(centredEdge(screenSize.width(), outer.width()),
                 centredEdge(screenSize.height(), outer.height()));
}
