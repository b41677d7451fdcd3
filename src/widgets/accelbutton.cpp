#include "accelbutton.h"

#include <QShortcutEvent>

namespace widgets {

AccelButton::AccelButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
}

bool AccelButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled() && isVisible())
            click();
        return true;
    }
    return QPushButton::event(event);
}

} // namespace widgets
