#include "voucher/amountform.h"

#include "core/errors.h"
#include "core/strutil.h"

QString amountPlainForm(double value)
{
    return formatPlain(value);
}

QString amountDisplayForm(double value)
{
    const QString formatted = formatThousands(value);
    const QString aligned = Str_StrToDouble(shortestDecimal(value), formatted);
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
        throw ConversionError(QStringLiteral("'%1'은(는) 올바른 숫자가 아닙니다.").arg(text));
    return Str_ToNumber(Str_TrimLeft(text));
}
