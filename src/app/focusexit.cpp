#include "focusexit.h"

#include <QApplication>
#include <QWidget>

FocusExit& FocusExit::instance()
{
    static FocusExit* exits = new FocusExit; // lives as long as the application
    return *exits;
}

FocusExit::FocusExit()
{
    connect(qApp, &QApplication::focusChanged, this, &FocusExit::onFocusChanged);
}

void FocusExit::setHandler(QWidget* control, Handler handler)
{
    m_handlers.insert(control, std::move(handler));
    connect(control, &QObject::destroyed, this, [this, control] { m_handlers.remove(control); });
}

void FocusExit::removeHandler(QWidget* control)
{
    m_handlers.remove(control);
}

QWidget* FocusExit::lastFocus(QWidget* window) const
{
    return m_lastFocusByWindow.value(window);
}

void FocusExit::onFocusChanged(QWidget*, QWidget* now)
{
    if (!now)
        return;
    QWidget* window = now->window();
    QPointer<QWidget>& last = m_lastFocusByWindow[window];
    QWidget* left = last.data();
    last = now;
    if (m_depth > 0 || !left || left == now)
        return;
    auto it = m_handlers.constFind(left);
    if (it == m_handlers.constEnd())
        return;
    Handler handler = it.value(); // the handler may unregister itself
    ++m_depth;
    struct Leave {
        FocusExit* self;
        QWidget* window;
        ~Leave()
        {
            --self->m_depth;
            // What the handler left focused is where the window's focus stands now.
            if (QWidget* focused = window->focusWidget())
                self->m_lastFocusByWindow[window] = focused;
        }
    } leave{this, window};
    handler(now);
}

QString focusTargetName(const QWidget* target)
{
    return target ? target->objectName() : QString();
}
