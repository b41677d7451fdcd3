#pragma once

#include "print/printrequest.h"

class QWidget;

// The printed voucher, from the print module (voucher-print) beside the
// program, loaded at the first call. The module is looked for in the
// program's folder, then in the build folder. A module that cannot be loaded
// throws AppError with the loader's reason; otherwise as showVoucherPrint()
// and renderVoucherToPdf() (print/printflow.h).
bool showVoucherPrintFromModule(const PrintRequest& request, QWidget* parent);
bool renderVoucherToPdfFromModule(const PrintRequest& request, const QString& pdfPath);
