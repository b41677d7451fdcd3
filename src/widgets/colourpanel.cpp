#include "colourpanel.h"

#include <QPaintEvent>
#include <QPainter>

namespace widgets {

ColourPanel::ColourPanel(QWidget* parent) : QFrame(parent), m_colour(palette().color(QPalette::Window))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourPanel::setColour(const QColor& colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void ColourPanel::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), m_colour);
    }
    QFrame::paintEvent(event); // the raised border
}

} // namespace widgets
