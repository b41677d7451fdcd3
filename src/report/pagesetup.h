#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>

class QPrinter;

namespace report {

// Paper, orientation and margins of a report, all in millimetres.
struct PageSetup {
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    QMarginsF margins{10, 10, 10, 10}; // left, top, right, bottom

    QSizeF paperSizeMm() const;   // as oriented: A4 landscape is 297 x 210
    double bandWidthMm() const;   // the printable width between the side margins
    double bottomLimitMm() const; // the lowest point a band may reach

    // Paper, orientation and margins on the printer. The report paints from the
    // paper's corner itself, so the printer is put into full-page mode.
    void applyTo(QPrinter& printer) const;
};

} // namespace report
