#include "panelrows.h"

#include "voucher/amountform.h"

#include <QLineEdit>

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
