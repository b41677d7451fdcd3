#pragma once

#include "linepanel.h"

#include <QList>
#include <QString>
#include <array>

namespace store {
class SqlStatement;
}

// One voucher line as a line panel holds it, amounts already read as values.
struct VoucherLine {
    QString serialBun;                     // "01".."05", as the line number field shows it
    std::array<QString, kNameKinds> names; // by LookupKind: the name fields' texts
    std::array<QString, kNameKinds> codes; // by LookupKind: their line codes
    QString acText;                        // the description
    double crAmt = 0;                      // the debit amount (edCr_Amt_0N)
    double drAmt = 0;                      // the read-only amount (edDr_Amt_0N)

    const QString& name(LookupKind kind) const { return names[static_cast<size_t>(kind)]; }
    const QString& code(LookupKind kind) const { return codes[static_cast<size_t>(kind)]; }
    bool operator==(const VoucherLine&) const = default;
};

// Where the rows of a voucher belong.
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

// The rows a voucher line is stored as, written through the window's
// statement objects. The entry window builds VoucherLines from its panels and
// hands them here; tools and benchmarks hand their own.
namespace voucherrows {

// The list's row key of a stored line: voucher number + line number.
QString lineKey(const QString& serialJen, const QString& serialBun);

// Inserts the line's credit row (cash) and then its debit row (the account),
// amounts mirrored, each with the clock read afresh.
void insertLineRows(store::SqlStatement& querySql, const VoucherHead& head, const VoucherLine& line);

// Inserts the rows of every line whose debit amount is not zero, in line
// order. Returns the key of the last line stored, "" when none was.
QString insertVoucherLines(store::SqlStatement& querySql, const VoucherHead& head, const QList<VoucherLine>& lines);

struct SavedVoucher {
    QString serialJen;     // the number the voucher received
    QString lastStoredKey; // as insertVoucherLines returns it
};

// A new voucher whole or not at all, as the entry window saves one: inside
// one WriteUnit, the next number of the date and then the rows of the lines.
// On any error nothing is kept and the error is thrown on.
SavedVoucher saveNewVoucher(store::SqlStatement& queryMax, store::SqlStatement& querySql, const QString& date,
                            int branchIndex, const QList<VoucherLine>& lines);

// Rewrites the debit row and then the credit row of a stored line (found by
// date, voucher number, line number and side) with the values of `line`, in
// one WriteUnit. When either row is not stored, or is stored under another
// branch (the number was freed and taken again), nothing is changed and
// false is returned.
bool updateLineRows(store::SqlStatement& querySql, const StoredLine& stored, const VoucherLine& line);

// Deletes both rows of a line in one WriteUnit; returns the rows deleted.
int deleteLineRows(store::SqlStatement& deleteQuery, const QString& serialJen, const QString& serialBun);

// The rows stored under a voucher number (blanks already removed).
int countVoucherRows(store::SqlStatement& deleteQuery, const QString& serialJen);

} // namespace voucherrows
