#pragma once

#include "printflow.h"
#include "qrborvane.h"
#include "statementrows.h"
#include "store/connection.h"
#include "voucher/voucherbook.h"

#include <memory>
#include <optional>

class QWidget;

namespace print {

// One print of a stored voucher: the voucher book's print rows and the new
// print form, which is the current fmQrBorvane until the job ends and releases it.
class VoucherPrintJob {
public:
    explicit VoucherPrintJob(const PrintRequest& request,
                             store::Connection& connection = store::Connection::account());
    ~VoucherPrintJob();

    // Opens the voucher's print rows; when they give rows, makes the print
    // form with its captions. False when there is nothing to print.
    bool prepare();

    // After prepare(): the voucher's line count and the print statement.
    const voucher::PrintRows& printed() const { return m_printed; }
    TfmQrBorvane* form() const { return m_form.get(); }

    // After prepare(): the preview (returns when closed) or a PDF file
    // (throws AppError when the file cannot be written).
    void showPreview(QWidget* parent);
    void printToPdf(const QString& pdfPath);

    static QString documentName();
    QString suggestedPdfName() const;

private:
    PrintRequest m_request;
    voucher::VoucherBook m_book;
    voucher::PrintRows m_printed;
    std::optional<StatementRows> m_printRows; // what the form's detail band walks
    std::unique_ptr<TfmQrBorvane> m_form;
};

} // namespace print
