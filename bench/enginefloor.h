#pragma once

#include "store/connection.h"

#include <QString>

// The least the engine needs for the rows each window operation reads or
// writes: hand-written statements in the engine's own SQL on the plain key
// columns and their indexes, on the same connection, every value read.
namespace enginefloor {

// The rows of the window's list of one date and branch, columns as the
// list has them: one indexed pass that puts each line's debit and credit
// row side by side. Returns the rows.
int listDay(store::Connection& c, const QString& date, const QString& branch);

// The debit rows of one voucher, every column.
int readVoucher(store::Connection& c, const QString& serialJen);

// A new voucher of `lines` lines: the highest number of the date and both
// rows of every line, in one transaction. Returns the number it took.
QString insertVoucher(store::Connection& c, const QString& date, const QString& branch, int lines);

// Both rows of one line rewritten in one transaction.
void updateLine(store::Connection& c, const QString& serialJen, const QString& serialBun, double amount);

// Both rows of one line deleted, then the rows left of the voucher counted.
int deleteLine(store::Connection& c, const QString& serialJen, const QString& serialBun);

} // namespace enginefloor
