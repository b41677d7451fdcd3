#include "printflow.h"

#include "printjob.h"

namespace print {

bool showVoucherPrint(const PrintRequest& request, QWidget* parent)
{
    VoucherPrintJob job(request);
    if (!job.prepare())
        return false;
    job.showPreview(parent);
    return true;
}

bool renderVoucherToPdf(const PrintRequest& request, const QString& pdfPath)
{
    VoucherPrintJob job(request);
    if (!job.prepare())
        return false;
    job.printToPdf(pdfPath);
    return true;
}

} // namespace print
