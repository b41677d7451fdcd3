#pragma once

#include <QStringList>

// The statement texts of the entry window, one list entry per statement line.
// They are Transact-SQL; the store translates them for the engine.
namespace voucher {

// The branches for the branch selector: Total per row, in code order.
QStringList branchList();

// The voucher list of a date and branch (:tbDKubun), one row per voucher
// line, debit and credit side by side; shown in the grid.
QStringList voucherList();

// The voucher list of a date and branch (:tbDKubun) restricted to the
// voucher numbers that match :tbjen: what is left of a voucher after a deletion.
QStringList remainingVoucherLines();

// The line numbers of one voucher (:tbSerial_jen, :tbSerial_day).
QStringList voucherLineNumbers();

// The debit rows of one voucher for the line panels (:tbDayBonCrDr, :tbSerial_jen).
QStringList voucherDebitRows();

} // namespace voucher
