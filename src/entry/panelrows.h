#pragma once

#include "voucherrows.h"

// The value of an amount field: leading blanks dropped, then read by the
// tolerant conversion (an empty text is 0). Throws ConversionError, also for
// a text that holds anything but a figure (never read from its digits alone).
double amountFieldValue(const QString& text);

// What one line panel holds, ready for storing.
VoucherLine readVoucherLine(const LinePanel& line);
