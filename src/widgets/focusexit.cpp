#include "focusexit.h"

#include "core/errorreport.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>
#include <utility>

namespace widgets {

FocusExit& FocusExit::instance()
{
    static FocusExit* exits = new FocusExit; // lives as long as the application
    return *exits;
}

FocusExit::FocusExit()
{
    connect(qApp, &QApplication::focusChanged, this, &FocusExit::onFocusChanged);
    qApp->installEventFilter(this);
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
        core::reportError(error);
    }
}

void FocusExit::onFocusChanged(QWidget*, QWidget* now)
{
    const bool byMousePress = std::exchange(m_lastFocusInReason, Qt::OtherFocusReason) == Qt::MouseFocusReason;
    if (!now)
        return;
    QWidget* window = now->window();
    QPointer<QWidget>& last = m_lastFocusByWindow[window];
    QWidget* left = last.data();
    last = now;
    if (m_depth > 0 || left == now)
        return;
    // Without a control that held the focus before (the click that brings a
    // window forward for the first time also focuses the control clicked),
    // nothing is left and the control is only entered.
    if (auto it = m_handlers.constFind(left); left && it != m_handlers.constEnd()) {
        Handler handler = it.value(); // the handler may unregister itself
        QPointer<QWidget> target = now;
        runGuarded(window, [&] { handler(now); });
        if (byMousePress && target && window->focusWidget() != target)
            refusePressInto(target);
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

void FocusExit::refusePressInto(QWidget* target)
{
    // The press that gave the focus is still on its way to the target; it
    // arrives before the event loop runs again.
    m_refusedPress = target;
    const quint64 arming = ++m_refusalArming;
    QMetaObject::invokeMethod(
        this,
        [this, arming] {
            if (arming == m_refusalArming)
                m_refusedPress = nullptr;
        },
        Qt::QueuedConnection);
}

bool FocusExit::swallowMouse(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType())
        return false; // window-level delivery: the widgets decide
    auto* widget = static_cast<QWidget*>(watched);
    auto within = [widget](const QPointer<QWidget>& control) {
        return control && (widget == control || control->isAncestorOf(widget));
    };
    if (event->type() == QEvent::MouseButtonRelease) {
        if (!within(m_refusedRelease))
            return false;
        m_refusedRelease = nullptr;
        return true;
    }
    // A press or double-click: only the first one after a refusal is swallowed.
    const QPointer<QWidget> refused = std::exchange(m_refusedPress, nullptr);
    if (within(refused)) {
        m_refusedRelease = refused;
        return true;
    }
    m_refusedRelease = nullptr;
    return false;
}

bool FocusExit::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        m_lastFocusInReason = static_cast<QFocusEvent*>(event)->reason();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return swallowMouse(watched, event);
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        m_refusedPress = nullptr;
        break;
    default:
        break;
    }
    return false;
}

QString focusTargetName(const QWidget* target)
{
    return target ? target->objectName() : QString();
}

} // namespace widgets
