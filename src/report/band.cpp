#include "band.h"

#include <QLineF>
#include <QPainter>
#include <QPen>

namespace report {

Band::Band(BandKind kind, const QString& name, QObject* parent) : QObject(parent), m_kind(kind)
{
    setObjectName(name);
}

void Band::paint(RenderContext& context, const QRectF& bandMm) const
{
    QPainter& painter = *context.painter;
    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(context.yToDevice(kLineWidthMm));
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    const QRectF r = context.toDevice(bandMm);
    if (m_frame.testFlag(FrameSide::Left))
        painter.drawLine(QLineF(r.topLeft(), r.bottomLeft()));
    if (m_frame.testFlag(FrameSide::Top))
        painter.drawLine(QLineF(r.topLeft(), r.topRight()));
    if (m_frame.testFlag(FrameSide::Right))
        painter.drawLine(QLineF(r.topRight(), r.bottomRight()));
    if (m_frame.testFlag(FrameSide::Bottom))
        painter.drawLine(QLineF(r.bottomLeft(), r.bottomRight()));
    for (double x : m_rules) {
        const double dx = r.left() + context.xToDevice(x);
        painter.drawLine(QLineF(dx, r.top(), dx, r.bottom()));
    }
    painter.restore();

    for (const TextElement* element : m_elements)
        element->paint(context, bandMm);
}

} // namespace report
