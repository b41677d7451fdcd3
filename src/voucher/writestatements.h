#pragma once

#include <QStringList>

// The statements that write the voucher table and count its rows. One list
// entry per statement line, each filled up with blanks to its statement's
// width (the blanks mean nothing).
namespace voucher {

// Inserts one row of a voucher line (all 29 columns as :tb parameters).
QStringList voucherRowInsert();

// Rewrites the account, names, codes, amounts and time of one row, found by
// date + voucher number + line number + side (:tbSerial).
QStringList voucherRowUpdate();

// The branch of every row the update's key finds (:tbSerial, the same key).
QStringList voucherRowBranches();

// Deletes both rows of one line, found by voucher number + line number (:tbSerial).
QStringList voucherLineDelete();

// Counts the rows of one line (:tbSerial, the deletion's key) as the column Serial.
QStringList voucherLineRowCount();

// Counts the rows left of one voucher (:tbSerial) as the column Serial.
QStringList voucherRowCount();

} // namespace voucher
