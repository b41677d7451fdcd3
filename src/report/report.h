#pragma once

#include "band.h"
#include "pagesetup.h"

#include <QFont>
#include <QObject>
#include <functional>

class QPainter;
class QPrinter;

namespace report {

// A banded report: page header and its child band on top of every page, one
// detail band per row of the data set, the summary band after the last row.
// An empty data set still gives a page with the header, child and summary.
class Report : public QObject {
    Q_OBJECT
public:
    explicit Report(const QString& name, QObject* parent = nullptr);

    PageSetup& pageSetup() { return m_page; }
    const PageSetup& pageSetup() const { return m_page; }
    void setFont(const QFont& font) { m_font = font; }
    QFont font() const { return m_font; }

    // Creates the band of that kind (one of each), or returns the existing one.
    Band* createBand(BandKind kind, const QString& name);
    Band* band(BandKind kind) const;

    // The rows come from the source's open result, walked from the first.
    void setDataSet(RowSource* dataset) { m_dataset = dataset; }
    RowSource* dataSet() const { return m_dataset; }

    // Paints the report on a painter whose device has its origin at the
    // paper's corner. newPage is asked for every page after the first and
    // stops the run when it returns false. Returns the pages painted.
    int render(QPainter& painter, const std::function<bool()>& newPage);
    // Paints every page on the printer (full page or not); false when the
    // printer could not be started.
    bool print(QPrinter* printer);

    // Of the last run: the detail rows and pages painted.
    int printedDetailRows() const { return m_detailRows; }
    int pageCount() const { return m_pages; }

private:
    QList<SumField*> sumFields() const;

    PageSetup m_page;
    QFont m_font;
    QList<Band*> m_bands;
    RowSource* m_dataset = nullptr;
    int m_detailRows = 0;
    int m_pages = 0;
};

} // namespace report
