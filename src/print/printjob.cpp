#include "printjob.h"

#include "core/strutil.h"
#include "printpreview.h"

namespace print {

VoucherPrintJob::VoucherPrintJob(const PrintRequest& request, store::Connection& connection)
    : m_request(request), m_book(connection)
{
}

VoucherPrintJob::~VoucherPrintJob() = default;

QString VoucherPrintJob::documentName()
{
    return QStringLiteral("출금 전표");
}

QString VoucherPrintJob::suggestedPdfName() const
{
    return QStringLiteral("출금전표_%1.pdf").arg(core::Str_RemoveBlanks(m_request.serialText));
}

bool VoucherPrintJob::prepare()
{
    m_printed = m_book.openPrintRows(m_request.dateText, m_request.branchIndex, m_request.serialText);
    if (!m_printed.any())
        return false;
    m_printRows.emplace(*m_printed.rows);
    m_form = std::make_unique<TfmQrBorvane>();
    fmQrBorvane = m_form.get();
    m_form->setCaptions(m_request);
    m_form->setDataSet(&*m_printRows);
    return true;
}

void VoucherPrintJob::showPreview(QWidget* parent)
{
    if (m_form)
        showReportPreview(m_form->report(), documentName(), suggestedPdfName(), parent);
}

void VoucherPrintJob::printToPdf(const QString& pdfPath)
{
    if (m_form)
        printReportToPdf(m_form->report(), documentName(), pdfPath);
}

} // namespace print
