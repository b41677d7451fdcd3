#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace report {
class Report;
}

namespace print {

// Puts the report's page on the printer with the voucher's defaults: one
// copy, no duplex, all pages, automatic paper bin.
void preparePrinter(QPrinter& printer, const report::Report& report, const QString& documentName);

// Renders the report into a PDF file; throws AppError when the file cannot be written.
void printReportToPdf(report::Report& report, const QString& documentName, const QString& pdfPath);

// Shows the report in a modal preview and returns when it is closed. From the
// preview the clerk prints (printer, copies and page range in the print
// dialog) or saves the report as a PDF file; suggestedPdfName is offered.
void showReportPreview(report::Report& report, const QString& documentName, const QString& suggestedPdfName,
                       QWidget* parent);

// The object names of the preview's parts, for whoever drives it.
extern const char* const kPrintPreviewName;
extern const char* const kSavePdfActionName;

} // namespace print
