// The entry points the program finds in the print module by name.
#include "print/printflow.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT bool voucherShowPrint(const PrintRequest& request, QWidget* parent)
{
    return showVoucherPrint(request, parent);
}

extern "C" Q_DECL_EXPORT bool voucherRenderToPdf(const PrintRequest& request, const QString& pdfPath)
{
    return renderVoucherToPdf(request, pdfPath);
}
