#pragma once

#include "printflow.h"
#include "report/report.h"

#include <QWidget>

namespace report {
class RowSource;
}

// The print form of the withdrawal voucher. It is never shown itself: it
// holds the report QuickRep1 with its bands and elements, whose rows come
// from the print statement the flow hands it.
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

    report::Report* QuickRep1;

    report::Band* PageHeaderBand1;
    report::Label* QRLabel5; // the title
    report::Label* qlDate;
    report::Label* qlKubun;
    report::Label* qlJen;

    report::Band* ChildBand1; // column headings
    report::Label* QRLabel1;
    report::Label* QRLabel2;
    report::Label* QRLabel3;
    report::Label* QRLabel4;
    report::Label* QRLabel6;
    report::Label* QRLabel7;
    report::Label* QRLabel8;
    report::Label* QRLabel9;
    report::Label* QRLabel10;

    report::Band* DetailBand1;
    report::DataField* QRDBText1; // amount
    report::DataField* QRDBText2;
    report::DataField* QRDBText3;
    report::DataField* QRDBText4;
    report::DataField* QRDBText5;
    report::DataField* QRDBText6;
    report::DataField* QRDBText7;
    report::DataField* QRDBText8;
    report::DataField* QRDBText9;

    report::Band* SummaryBand1;
    report::Label* QRLabel11;
    report::SumField* QRExpr1; // the total
};

// The current print form: each print makes its new form current, and a
// print form that goes away clears it.
extern TfmQrBorvane* fmQrBorvane;
