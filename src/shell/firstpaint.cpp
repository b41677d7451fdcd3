#include "firstpaint.h"

#include <QEvent>
#include <QWidget>
#include <vector>

namespace shell {

namespace {

constexpr const char* kWatchName = "firstPaintWatch";

// One watch per widget: the work runs in the order it was asked for.
class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(QWidget* widget) : QObject(widget)
    {
        setObjectName(QLatin1String(kWatchName));
        widget->installEventFilter(this);
    }

    void add(std::function<void()> then) { m_then.push_back(std::move(then)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            setObjectName(QString()); // work asked for from now on waits for the next paint
            // Queued on the widget: dropped should the widget go first.
            for (std::function<void()>& then : m_then)
                QMetaObject::invokeMethod(watched, std::move(then), Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

private:
    std::vector<std::function<void()>> m_then;
};

} // namespace

void afterFirstPaint(QWidget* widget, std::function<void()> then)
{
    auto* watch = dynamic_cast<FirstPaintWatch*>(
        widget->findChild<QObject*>(QLatin1String(kWatchName), Qt::FindDirectChildrenOnly));
    if (!watch)
        watch = new FirstPaintWatch(widget);
    watch->add(std::move(then));
}

} // namespace shell
