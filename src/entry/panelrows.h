#pragma once

#include "linepanel.h"
#include "voucher/voucherline.h"

// What one line panel holds, ready for storing.
VoucherLine readVoucherLine(const LinePanel& line);
