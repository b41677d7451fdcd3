#pragma once

#include "voucherseed.h"

// A new voucher saved by the program's own save operation, as the entry
// window saves one: the next number of the date, then for every line with
// an amount its credit row and its debit row, all in one write unit.
// Returns the number. Throws what the store throws; nothing is kept then.
namespace voucherseed {

QString saveVoucher(store::Connection& connection, const QString& date, int branchIndex, const QList<Line>& lines);

} // namespace voucherseed
