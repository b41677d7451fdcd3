#pragma once

#include "target.h"

namespace admin {

// voucher-admin close-books --through DATE: every date up to DATE is closed;
// reopen-books --through DATE: dates after DATE are open again. Both in one
// write unit beside the clerks' saves (a save waits, then meets the new
// date), each recorded in voucher_history.
int runCloseBooks(const TargetChoice& target, const QString& through, bool reopen);

} // namespace admin
