#pragma once

#include "lookup/lookuptarget.h"
#include "voucher/voucherdraft.h"

#include <QString>
#include <array>

namespace widgets {
class ColourPanel;
}
class QLineEdit;

namespace entry {

// One line panel of the entry window (Panel1..Panel5): its fields and the
// state the window keeps for the line.
struct LinePanel {
    int number = 0; // 1..5
    widgets::ColourPanel* panel = nullptr;
    QLineEdit* serialBun = nullptr;          // edSerial_Bun_0N
    std::array<QLineEdit*, voucher::kNameKinds> names{}; // by LookupKind: account .. item
    QLineEdit* acText = nullptr;             // edAc_Text_0N
    QLineEdit* crAmt = nullptr;              // edCr_Amt_0N, the debit amount
    QLineEdit* drAmt = nullptr;              // edDr_Amt_0N, read-only

    // The line in the window's draft, which holds the line codes of the
    // name fields: the code of the master row chosen for a name, empty
    // while none is.
    voucher::TypedLine* typed = nullptr;
    // The loaded amounts in plain form.
    QString crAmtPlain;
    QString drAmtPlain;

    QLineEdit* name(voucher::LookupKind kind) const { return names[static_cast<size_t>(kind)]; }
    QString& code(voucher::LookupKind kind) { return typed->code(kind); }
    const QString& code(voucher::LookupKind kind) const { return typed->code(kind); }
    // "01".."05"
    QString twoDigits() const { return QString::number(number).rightJustified(2, u'0'); }
};

} // namespace entry
