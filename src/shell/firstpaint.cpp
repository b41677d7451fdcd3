#include "firstpaint.h"

#include <QEvent>
#include <QWidget>

namespace {

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget* widget, std::function<void()> then) : QObject(widget), m_then(std::move(then))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued on the widget: dropped should the widget go first.
            QMetaObject::invokeMethod(watched, std::move(m_then), Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

} // namespace

void afterFirstPaint(QWidget* widget, std::function<void()> then)
{
    new FirstPaintWatch(widget, std::move(then));
}
