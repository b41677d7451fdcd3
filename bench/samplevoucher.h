#pragma once

#include "store/connection.h"

#include <QString>

namespace bench {

// A stored withdrawal voucher of the newest busy date, found on the data the
// benchmarks run on: the date, branch and number the window would list and load.
struct SampleVoucher {
    QString date;      // YYYY-MM-DD
    int branch = 0;    // selector position
    QString serialJen; // a voucher of that date and branch with the most lines
    QString serialBun; // its first line
    // Another voucher of that date and branch, with the fewest lines, and its
    // first line: loads alternate between the two, as a clerk moving through
    // the list does.
    QString otherSerialJen;
    QString otherSerialBun;
    int listRows = 0;  // rows of the window's list for the date and branch
};

// Throws AppError when the data holds no withdrawal voucher.
SampleVoucher findSampleVoucher(store::Connection& c, int branch = 0);

} // namespace bench
