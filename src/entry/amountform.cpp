#include "amountform.h"

#include "app/strutil.h"

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
