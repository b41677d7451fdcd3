#pragma once

#include "linepanel.h"
#include "voucher/voucherline.h"

namespace entry {

// The texts one line panel's fields hold, into its line of the draft.
void readTypedLine(LinePanel& line);

// What one line panel holds, ready for storing.
voucher::VoucherLine readVoucherLine(LinePanel& line);

} // namespace entry
