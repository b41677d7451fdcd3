#include "printpreview.h"

#include "core/errors.h"
#include "report/report.h"
#include "widgets/placement.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

namespace print {

const char* const kPrintPreviewName = "PrintPreview";
const char* const kSavePdfActionName = "SavePdfAction";

namespace {

// Asks for a file name and writes the PDF; a failure is told and the preview stays.
void savePdfFrom(QWidget* preview, report::Report& report, const QString& documentName,
                 const QString& suggestedName)
{
    QString path = QFileDialog::getSaveFileName(preview, QStringLiteral("PDF로 저장"), suggestedName,
                                                QStringLiteral("PDF 파일 (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(u"pdf", Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    try {
        printReportToPdf(report, documentName, path);
    } catch (const core::AppError& error) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("경고"), error.text(), QMessageBox::Ok, preview);
        box.exec();
    }
}

} // namespace

void preparePrinter(QPrinter& printer, const report::Report& report, const QString& documentName)
{
    report.pageSetup().applyTo(printer);
    printer.setDocName(documentName);
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setPaperSource(QPrinter::Auto);
}

void printReportToPdf(report::Report& report, const QString& documentName, const QString& pdfPath)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    preparePrinter(printer, report, documentName);
    if (!report.print(&printer))
        throw core::AppError(QStringLiteral("PDF 파일을 저장할 수 없습니다.\n%1").arg(pdfPath));
}

void showReportPreview(report::Report& report, const QString& documentName, const QString& suggestedPdfName,
                       QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, report, documentName);

    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QString::fromLatin1(kPrintPreviewName));
    preview.setWindowTitle(QStringLiteral("%1 미리 보기").arg(documentName));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&report](QPrinter* target) { report.print(target); });

    auto* savePdf = new QAction(QStringLiteral("PDF로 저장"), &preview);
    savePdf->setObjectName(QString::fromLatin1(kSavePdfActionName));
    QObject::connect(savePdf, &QAction::triggered, &preview, [&] {
        savePdfFrom(&preview, report, documentName, suggestedPdfName);
    });
    if (auto* toolBar = preview.findChild<QToolBar*>()) {
        toolBar->addSeparator();
        toolBar->addAction(savePdf);
    } else {
        preview.addAction(savePdf);
    }

    // The clerk sees the whole page at once: the preview takes the screen's
    // available area, and the page is fitted to it.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        widgets::fillAreaWithFrame(&preview, screen->availableGeometry());
    if (auto* pages = preview.findChild<QPrintPreviewWidget*>())
        pages->fitInView();
    preview.exec();
}

} // namespace print
