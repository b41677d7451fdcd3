#pragma once

#include <QString>

namespace store {
class SqlStatement;
}

namespace voucher {

// The next voucher number of a date: the date, "-" and the eight-digit
// successor of the highest stored sequence number of that date (all
// branches, all voucher kinds), or "-00000001" for a date without rows.
// The date is bound as a parameter. Throws ConversionError when the stored
// maximum is not of that form, DbError on engine errors.
QString Serial_Jen_MaxValue(store::SqlStatement& queryMax, const QString& dateText);

// Gives queryMax the statement Serial_Jen_MaxValue runs and prepares it, so
// that a save can do this before it takes the voucher table's lock.
void prepareSerialJenMax(store::SqlStatement& queryMax);

// The `Serial` text of one row: "AA*" + branch code + "*2*" + voucher number
// + "*" + line number + "*" + form-and-side ("A002*01" or "A002*02"), blanks
// removed from the last three.
QString Serial_MaxValue(int branchIndex, const QString& voucherNumber, const QString& lineNumber,
                        const QString& formAndSide);

} // namespace voucher
