#include "pagesetup.h"

#include <QPrinter>

namespace report {

QSizeF PageSetup::paperSizeMm() const
{
    const QSizeF portrait = QPageSize(paper).size(QPageSize::Millimeter);
    if (orientation == QPageLayout::Landscape)
        return portrait.transposed();
    return portrait;
}

double PageSetup::bandWidthMm() const
{
    return paperSizeMm().width() - margins.left() - margins.right();
}

double PageSetup::bottomLimitMm() const
{
    return paperSizeMm().height() - margins.bottom();
}

void PageSetup::applyTo(QPrinter& printer) const
{
    printer.setPageLayout(QPageLayout(QPageSize(paper), orientation, margins, QPageLayout::Millimeter));
    printer.setFullPage(true);
}

} // namespace report
