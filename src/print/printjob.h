#pragma once

#include "printflow.h"
#include "printqueries.h"
#include "qrborvane.h"
#include "store/connection.h"

#include <memory>

class QWidget;

// One print of a stored voucher: its statements and the new print form,
// which is the current fmQrBorvane until the job ends and releases it.
class VoucherPrintJob {
public:
    explicit VoucherPrintJob(const PrintRequest& request,
                             store::Connection& connection = store::Connection::account());
    ~VoucherPrintJob();

    // Runs Print_Count_Query and Print_Query; when they give rows, makes the
    // print form with its captions. False when there is nothing to print.
    bool prepare();

    PrintQueries& queries() { return m_queries; }
    TfmQrBorvane* form() const { return m_form.get(); }

    // After prepare(): the preview (returns when closed) or a PDF file
    // (throws AppError when the file cannot be written).
    void showPreview(QWidget* parent);
    void printToPdf(const QString& pdfPath);

    static QString documentName();
    QString suggestedPdfName() const;

private:
    PrintRequest m_request;
    PrintQueries m_queries;
    std::unique_ptr<TfmQrBorvane> m_form;
};
