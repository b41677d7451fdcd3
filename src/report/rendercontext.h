#pragma once

#include "rowsource.h"

#include <QFont>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace report {

// What an element needs while it is painted. The painter works in the
// device's own units (no scaling), so fonts keep their true point sizes and
// their metrics; positions are converted from millimetres here.
struct RenderContext {
    QPainter* painter = nullptr;
    double dotsPerMmX = 1;
    double dotsPerMmY = 1;
    QFont reportFont;                       // for elements that take the report's font
    RowSource* dataset = nullptr;           // its current row feeds the data fields

    double xToDevice(double mm) const { return mm * dotsPerMmX; }
    double yToDevice(double mm) const { return mm * dotsPerMmY; }
    double widthToMm(double dots) const { return dots / dotsPerMmX; }
    QRectF toDevice(const QRectF& mm) const
    {
        return QRectF(xToDevice(mm.left()), yToDevice(mm.top()), xToDevice(mm.width()), yToDevice(mm.height()));
    }
};

} // namespace report
