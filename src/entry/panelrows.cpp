#include "panelrows.h"

#include "widgets/colourpanel.h"

#include <QLineEdit>

namespace entry {

void readTypedLine(LinePanel& line)
{
    voucher::TypedLine& typed = *line.typed;
    typed.shown = !line.panel->isHidden();
    typed.serialBun = line.serialBun->text();
    for (size_t k = 0; k < size_t(voucher::kNameKinds); ++k)
        typed.names[k] = line.names[k]->text();
    typed.acText = line.acText->text();
    typed.crAmt = line.crAmt->text();
    typed.drAmt = line.drAmt->text();
}

voucher::VoucherLine readVoucherLine(LinePanel& line)
{
    readTypedLine(line);
    return line.typed->value();
}

} // namespace entry
