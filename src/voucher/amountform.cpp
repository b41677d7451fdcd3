#include "voucher/amountform.h"

#include "core/errors.h"
#include "core/strutil.h"

namespace voucher {

QString amountPlainForm(double value)
{
    return core::formatPlain(value);
}

QString amountDisplayForm(double value)
{
    const QString formatted = core::formatThousands(value);
    const QString aligned = core::Str_StrToDouble(core::shortestDecimal(value), formatted);
    return aligned.isEmpty() ? formatted : aligned;
}

bool isAmountText(const QString& text)
{
    for (const QChar c : text)
        if (!(c.isDigit() && c.unicode() < 128) && c != u',' && c != u'.' && c != u'-' && c != u' ')
            return false;
    return true;
}

double amountFieldValue(const QString& text)
{
    if (!isAmountText(text))
        throw core::ConversionError(QStringLiteral("'%1'은(는) 올바른 숫자가 아닙니다.").arg(text));
    return core::Str_ToNumber(core::Str_TrimLeft(text));
}

} // namespace voucher
