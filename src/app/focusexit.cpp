#include "focusexit.h"

#include "errorreport.h"

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

void FocusExit::setEnterHandler(QWidget* control, EnterHandler handler)
{
    m_enterHandlers.insert(control, std::move(handler));
    connect(control, &QObject::destroyed, this, [this, control] { m_enterHandlers.remove(control); });
}

QWidget* FocusExit::lastFocus(QWidget* window) const
{
    return m_lastFocusByWindow.value(window);
}

void FocusExit::runGuarded(QWidget* window, const std::function<void()>& body)
{
    ++m_depth;
    struct Leave {
        FocusExit* self;
        QPointer<QWidget> window;
        ~Leave()
        {
            --self->m_depth;
            // What the handler left focused is where the window's focus stands now.
            if (window)
                if (QWidget* focused = window->focusWidget())
                    self->m_lastFocusByWindow[window] = focused;
        }
    } leave{this, window};
    try {
        body();
    } catch (const std::exception& error) {
        reportError(error);
    }
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
    if (auto it = m_handlers.constFind(left); it != m_handlers.constEnd()) {
        Handler handler = it.value(); // the handler may unregister itself
        runGuarded(window, [&] { handler(now); });
    }
    // The control holding the focus now is entered, unless the exit handler
    // sent the focus back where it came from.
    QWidget* entered = window->focusWidget() ? window->focusWidget() : now;
    if (entered == left)
        return;
    if (auto it = m_enterHandlers.constFind(entered); it != m_enterHandlers.constEnd()) {
        EnterHandler handler = it.value();
        runGuarded(window, [&] { handler(left); });
    }
}

QString focusTargetName(const QWidget* target)
{
    return target ? target->objectName() : QString();
}
