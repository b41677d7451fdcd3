#pragma once

#include "printflow.h"
#include "report/report.h"

#include <QWidget>

namespace report {
class RowSource;
}

namespace print {

// The print form of the withdrawal voucher. It is never shown itself: it
// holds the report QuickRep1, whose bands and elements it builds from the
// table in qrborvane.cpp, and whose rows come from the print statement the
// flow hands it.
class TfmQrBorvane : public QWidget {
    Q_OBJECT
public:
    explicit TfmQrBorvane(QWidget* parent = nullptr);
    ~TfmQrBorvane() override;

    // The captions set before the run, each a fixed text followed directly by
    // the entry window's field text.
    void setCaptions(const PrintRequest& request);
    // The rows that become the detail rows (Print_Query's).
    void setDataSet(report::RowSource* printRows);

    report::Report& report() const { return *m_report; }
    // An element of the form by its name ("qlJen", "QRExpr1", …), or null.
    template <typename Element>
    Element* element(const char* name) const
    {
        return m_report->findChild<Element*>(QString::fromLatin1(name));
    }

private:
    report::Report* m_report;
};

// The current print form: each print makes its new form current, and a
// print form that goes away clears it.
extern TfmQrBorvane* fmQrBorvane;

} // namespace print
