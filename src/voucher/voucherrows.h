#pragma once

#include "voucher/voucherline.h"

#include <QList>
#include <QString>

namespace store {
class SqlStatement;
}

// The rows a voucher line is stored as, written through the book's statement
// objects: every line is a credit row of cash and a debit row of its account.
// VoucherBook is the way in; these are its row writing.
namespace voucher {

// The list's row key of a stored line: voucher number + line number.
QString lineKey(const QString& serialJen, const QString& serialBun);

// Inserts the line's credit row (cash) and then its debit row (the account),
// amounts mirrored, each with the clock read afresh.
void insertLineRows(store::SqlStatement& querySql, const VoucherHead& head, const VoucherLine& line);

// Gives querySql the row insert and prepares it, so that a save can do this
// before it takes the voucher table's lock.
void prepareRowInsert(store::SqlStatement& querySql);

// Inserts the rows of every line whose debit amount is not zero, in line
// order. Returns the key of the last line stored, "" when none was.
QString insertVoucherLines(store::SqlStatement& querySql, const VoucherHead& head, const QList<VoucherLine>& lines);

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

} // namespace voucher
