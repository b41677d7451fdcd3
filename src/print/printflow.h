#pragma once

#include "printrequest.h"

#include <QString>

class QWidget;

namespace print {

// Runs Print_Count_Query and Print_Query for the voucher and, when they give
// rows, shows the voucher in the print preview; returns when the preview is
// closed. Returns true when the preview was shown (the caller then empties
// edSerial), false when the print statement gave no row.
bool showVoucherPrint(const PrintRequest& request, QWidget* parent);

// Renders the voucher of the request straight into a PDF file, without a
// preview. False when the print statement gave no row (no file is written);
// throws AppError when the file cannot be written.
bool renderVoucherToPdf(const PrintRequest& request, const QString& pdfPath);

} // namespace print
