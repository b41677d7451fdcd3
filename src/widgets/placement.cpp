#include "placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <functional>

namespace widgets {

namespace {

bool frameKnown(const QWidget* window)
{
    return window->frameGeometry() != window->geometry();
}

QMargins frameMargins(const QWidget* window)
{
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

// Places the window once more when its frame first shows (a window manager
// frames it some time after it is mapped), then goes.
class PlaceWhenFramed : public QObject {
public:
    PlaceWhenFramed(QWidget* window, std::function<void()> place) : QObject(window), m_window(window), m_place(std::move(place))
    {
        setObjectName(QStringLiteral("PlaceWhenFramed"));
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && isPlacementEvent(event->type())) {
            if (event->type() == QEvent::Show) // the platform frames the window after this event
                QMetaObject::invokeMethod(this, &PlaceWhenFramed::placeIfFramed, Qt::QueuedConnection);
            placeIfFramed();
        }
        return false;
    }

private:
    void placeIfFramed()
    {
        if (m_placed || !frameKnown(m_window))
            return;
        m_placed = true;
        m_window->removeEventFilter(this);
        m_place();
        deleteLater();
    }

    // A window manager frames the window some time after it is mapped, and
    // then the window is moved, exposed or activated.
    static bool isPlacementEvent(QEvent::Type type)
    {
        return type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize || type == QEvent::Paint
               || type == QEvent::WindowActivate;
    }

    bool m_placed = false;
    QWidget* m_window;
    std::function<void()> m_place;
};

void placeNowAndWhenFramed(QWidget* window, const std::function<void()>& place)
{
    // A second placement replaces a first one still waiting for the frame.
    delete window->findChild<PlaceWhenFramed*>(QStringLiteral("PlaceWhenFramed"), Qt::FindDirectChildrenOnly);
    place();
    if (!frameKnown(window))
        new PlaceWhenFramed(window, place);
}

} // namespace

int centredEdge(int screenExtent, int windowExtent)
{
    return (screenExtent - windowExtent) / 2; // C++ division truncates towards zero
}

void centreOnScreen(QWidget* window)
{
    placeNowAndWhenFramed(window, [window] {
        const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        const QSize screenSize = screen->geometry().size();
        const QSize outer = window->frameGeometry().size();
        // move() places the frame's top left corner.
        window->move(centredEdge(screenSize.width(), outer.width()), centredEdge(screenSize.height(), outer.height()));
    });
}

void fillAreaWithFrame(QWidget* window, const QRect& area)
{
    placeNowAndWhenFramed(window, [window, area] { window->setGeometry(area.marginsRemoved(frameMargins(window))); });
}

} // namespace widgets
