#include "mask.h"

#include "core/errors.h"
#include "core/strutil.h"

namespace report {

bool isSupportedMask(const QString& mask)
{
    return mask == u"#,###" || mask == u"#,##0" || mask == u"0";
}

QString applyMask(double value, const QString& mask)
{
    if (mask == u"#,###")
        return core::formatThousandsBlankZero(value);
    if (mask == u"#,##0")
        return core::formatThousands(value);
    if (mask == u"0")
        return core::formatPlain(value);
    throw core::AppError(QStringLiteral("지원하지 않는 표시 형식입니다: %1").arg(mask));
}

} // namespace report
