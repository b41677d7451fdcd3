#include "printmodule.h"

#include "core/errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {

QFunctionPointer moduleEntry(const char* name)
{
    static QLibrary module;
    if (!module.isLoaded()) {
        QString reasons;
        for (const QString& folder : {QCoreApplication::applicationDirPath(), QStringLiteral(VOUCHER_BUILD_DIR)}) {
            module.setFileName(QDir(folder).filePath(QStringLiteral("voucher-print")));
            if (module.load())
                break;
            reasons += u'\n' + module.errorString();
        }
        if (!module.isLoaded())
            throw AppError(QStringLiteral("인쇄 모듈을 읽을 수 없습니다.%1").arg(reasons));
    }
    const QFunctionPointer entry = module.resolve(name);
    if (!entry)
        throw AppError(QStringLiteral("인쇄 모듈을 읽을 수 없습니다.\n%1").arg(module.errorString()));
    return entry;
}

} // namespace

bool showVoucherPrintFromModule(const PrintRequest& request, QWidget* parent)
{
    using Show = bool (*)(const PrintRequest&, QWidget*);
    return reinterpret_cast<Show>(moduleEntry("voucherShowPrint"))(request, parent);
}

bool renderVoucherToPdfFromModule(const PrintRequest& request, const QString& pdfPath)
{
    using Render = bool (*)(const PrintRequest&, const QString&);
    return reinterpret_cast<Render>(moduleEntry("voucherRenderToPdf"))(request, pdfPath);
}
