#pragma once

#include <QStringList>

// The statement texts behind the printed voucher, one list entry per line.
namespace voucher {

// Print_Count_Query: the debit rows of one voucher (:tbDateDay, :tbKubunBon, :tbSerialJen).
QStringList printLineCount();

// Print_Query: the same rows followed by the blank filler rows of Jen_Print
// whose Tot is at most :tbCount.
QStringList printRows();

} // namespace voucher
