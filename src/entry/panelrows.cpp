#include "panelrows.h"

#include "widgets/colourpanel.h"

#include <QLineEdit>

void readTypedLine(LinePanel& line)
{
    TypedLine& typed = *line.typed;
    typed.shown = !line.panel->isHidden();
    typed.serialBun = line.serialBun->text();
    for (size_t k = 0; k < size_t(kNameKinds); ++k)
        typed.names[k] = line.names[k]->text();
    typed.acText = line.acText->text();
    typed.crAmt = line.crAmt->text();
    typed.drAmt = line.drAmt->text();
}

VoucherLine readVoucherLine(LinePanel& line)
{
    readTypedLine(line);
    return line.typed->value();
}
