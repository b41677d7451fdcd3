#pragma once

#include "target.h"

namespace admin {

// voucher-admin check: prints the ledger's findings (ledgeraudit.h); the
// exit code is 0 for a sound ledger, 1 when anything was found.
int runCheck(const TargetChoice& choice);

} // namespace admin
