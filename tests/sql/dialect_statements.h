#pragma once

#include <QStringList>

// The program's statements line by line as the windows send them, for
// running them through the dialect layer on the real engines.
namespace dialect_statements {

// The voucher list of a date and branch (parameter tbDKubun), 30 lines.
QStringList voucherList();
// The account lookup: 22 groups joined by union all (parameter tbac_name).
QStringList accountLookup();
// The customer and bank lookup (parameter tbName) with the kind filter of
// combo item 0 (every row), 1 (customers) or 2 (banks).
QStringList customerAndBankLookup(int kind);
// The printed voucher with its filler rows (tbDateDay, tbKubunBon, tbSerialJen, tbCount).
QStringList printedVoucher();

} // namespace dialect_statements
