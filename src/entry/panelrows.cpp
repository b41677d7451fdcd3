#include "panelrows.h"

#include "amountform.h"
#include "core/errors.h"
#include "core/strutil.h"

#include <QLineEdit>

double amountFieldValue(const QString& text)
{
    if (!isAmountText(text))
        throw ConversionError(QStringLiteral("'%1'은(는) 올바른 숫자가 아닙니다.").arg(text));
    return Str_ToNumber(Str_TrimLeft(text));
}

VoucherLine readVoucherLine(const LinePanel& line)
{
    VoucherLine v;
    // Field texts go to the store as the fields hold them, untrimmed.
    v.serialBun = line.serialBun->text();
    for (size_t k = 0; k < size_t(kNameKinds); ++k) {
        v.names[k] = line.names[k]->text();
        v.codes[k] = line.codes[k];
    }
    v.acText = line.acText->text();
    v.crAmt = amountFieldValue(line.crAmt->text());
    v.drAmt = amountFieldValue(line.drAmt->text());
    return v;
}
