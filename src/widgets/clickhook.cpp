#include "clickhook.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace widgets {

ClickHook::ClickHook(Handler handler, QObject* parent) : QObject(parent), m_handler(std::move(handler)) {}

void ClickHook::watch(QWidget* control)
{
    control->installEventFilter(this);
}

bool ClickHook::eventFilter(QObject* watched, QEvent* event)
{
    if (m_delivering || event->type() != QEvent::MouseButtonRelease || !watched->isWidgetType())
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    QPointer<QWidget> control = static_cast<QWidget*>(watched);
    if (mouse->button() != Qt::LeftButton || !control->rect().contains(mouse->position().toPoint()))
        return false;
    // Let the control finish the release first (a release inside a selection
    // would otherwise undo what the handler selects).
    m_delivering = true;
    QCoreApplication::sendEvent(control, event);
    m_delivering = false;
    if (control)
        m_handler(control);
    return true;
}

} // namespace widgets
