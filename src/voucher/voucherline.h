#pragma once

#include "voucher/namekinds.h"

#include <QString>
#include <array>
#include <cstddef>

namespace voucher {

// One voucher line as the clerk types it, amounts already read as values.
struct VoucherLine {
    QString serialBun;                     // "01".."05", as the line number field shows it
    std::array<QString, kNameKinds> names; // by LookupKind: the names
    std::array<QString, kNameKinds> codes; // by LookupKind: their codes
    QString acText;                        // the description
    double crAmt = 0;                      // the debit amount (edCr_Amt_0N)
    double drAmt = 0;                      // the read-only amount (edDr_Amt_0N)

    const QString& name(LookupKind kind) const { return names[static_cast<size_t>(kind)]; }
    const QString& code(LookupKind kind) const { return codes[static_cast<size_t>(kind)]; }
    bool operator==(const VoucherLine&) const = default;
};

// Where the rows of a new voucher belong.
struct VoucherHead {
    QString date;        // the base date as typed, YYYY-MM-DD
    int branchIndex = 0; // the branch selector's position
    QString serialJen;   // the voucher number
};

// A stored line as it was read back: where its two rows are.
struct StoredLine {
    QString date;      // Date_Day
    QString branch;    // Kubun_Bon, "00000"
    QString serialJen; // the voucher number
    QString serialBun; // the line number
};

// The debit row of a stored line as loading reads it: where it is and what it holds.
struct LoadedRow {
    StoredLine stored;
    VoucherLine line;
};

// The current row of the voucher list, trailing blanks removed.
struct ListedLine {
    QString serialJen; // the voucher number
    QString serialBun; // the line number
    QString date;      // Date_Day
};

// What saving a new voucher gave.
struct SavedVoucher {
    QString serialJen;     // the number the voucher received
    QString lastStoredKey; // voucher number + line number of the last line stored, "" when none was
};

} // namespace voucher
