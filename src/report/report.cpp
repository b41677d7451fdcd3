#include "report.h"

#include "core/errors.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPrinter>

namespace report {

Report::Report(const QString& name, QObject* parent) : QObject(parent)
{
    setObjectName(name);
}

Band* Report::createBand(BandKind kind, const QString& name)
{
    if (Band* existing = band(kind))
        return existing;
    auto* created = new Band(kind, name, this);
    m_bands.append(created);
    return created;
}

Band* Report::band(BandKind kind) const
{
    for (Band* b : m_bands) {
        if (b->kind() == kind)
            return b;
    }
    return nullptr;
}

QList<SumField*> Report::sumFields() const
{
    QList<SumField*> fields;
    for (const Band* b : m_bands) {
        for (TextElement* element : b->elements()) {
            if (auto* sum = qobject_cast<SumField*>(element))
                fields.append(sum);
        }
    }
    return fields;
}

int Report::render(QPainter& painter, const std::function<bool()>& newPage)
{
    const QList<SumField*> sums = sumFields();
    for (SumField* sum : sums) {
        const QString wanted = sum->datasetName();
        if (!wanted.isEmpty() && m_dataset && wanted.compare(m_dataset->name(), Qt::CaseInsensitive) != 0)
            throw core::AppError(QStringLiteral("식 %1의 데이터 집합이 보고서에 없습니다.").arg(sum->expression()));
        sum->reset();
    }

    RenderContext context;
    context.painter = &painter;
    context.dotsPerMmX = painter.device()->logicalDpiX() / 25.4;
    context.dotsPerMmY = painter.device()->logicalDpiY() / 25.4;
    context.reportFont = m_font;
    context.dataset = m_dataset;

    const double left = m_page.margins.left();
    const double width = m_page.bandWidthMm();
    const double bottom = m_page.bottomLimitMm();
    double headersBottom = m_page.margins.top();
    for (BandKind kind : {BandKind::PageHeader, BandKind::Child}) {
        if (const Band* b = band(kind))
            headersBottom += b->height();
    }
    double y = 0;
    bool stopped = false;
    m_detailRows = 0;
    m_pages = 0;

    auto paintBand = [&](const Band* b) {
        b->paint(context, QRectF(left, y, width, b->height()));
        y += b->height();
    };
    auto startPage = [&]() {
        if (m_pages > 0 && !newPage()) {
            stopped = true;
            return;
        }
        ++m_pages;
        y = m_page.margins.top();
        for (BandKind kind : {BandKind::PageHeader, BandKind::Child}) {
            if (const Band* b = band(kind))
                paintBand(b);
        }
    };
    // A band that does not fit below what the page holds goes on to the next
    // page; a page that holds only its headers takes it anyway.
    auto makeRoom = [&](const Band* b) {
        if (y + b->height() <= bottom + 1e-6 || y <= headersBottom + 1e-6)
            return;
        startPage();
    };

    startPage();
    const Band* detail = band(BandKind::Detail);
    if (m_dataset && m_dataset->isOpen()) {
        for (m_dataset->first(); !m_dataset->eof(); m_dataset->next()) {
            for (SumField* sum : sums)
                sum->accumulate(context);
            if (!detail)
                continue;
            makeRoom(detail);
            if (stopped)
                return m_pages;
            paintBand(detail);
            ++m_detailRows;
        }
    }
    if (const Band* summary = band(BandKind::Summary)) {
        makeRoom(summary);
        if (stopped)
            return m_pages;
        paintBand(summary);
    }
    return m_pages;
}

bool Report::print(QPrinter* printer)
{
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    // Outside full-page mode the device's origin is the printable area's corner.
    const QRectF paper = printer->paperRect(QPrinter::DevicePixel);
    const QRectF page = printer->pageRect(QPrinter::DevicePixel);
    painter.translate(paper.topLeft() - page.topLeft());
    render(painter, [printer] { return printer->newPage(); });
    painter.end();
    return true;
}

} // namespace report
