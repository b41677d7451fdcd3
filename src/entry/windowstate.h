#pragma once

#include "borvane.h"

#include <QColor>
#include <QString>
#include <array>

namespace entry {

// What a saving handler may have changed in the window before the store
// refused the voucher: taken when the click arrives and put back after a
// rollback, so the clerk finds the voucher as typed and can save again.
struct TfmBorvane::WindowState {
    struct Line {
        QString serialBun;
        std::array<QString, voucher::kNameKinds> names;
        std::array<QString, voucher::kNameKinds> codes;
        QString acText;
        QString crAmt;
        QString drAmt;
        QString crAmtPlain;
        QString drAmtPlain;
        bool hidden = false;
        bool disabled = false;
        QColor colour;
    };

    voucher::VoucherMode mode = voucher::VoucherMode::Idle;
    QString serial; // edSerial
    QString lastStoredKey;
    QString gridReturnKey;
    std::array<bool, 6> buttonsEnabled{}; // Insert, Cancel, Save, Delete, Print, Close
    std::array<Line, voucher::kLineCount> lines;
};

} // namespace entry
