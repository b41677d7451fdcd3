#pragma once

#include "store/connection.h"

#include <QStringList>

namespace admin {

// voucher_history held against itself and against the voucher table: every
// record's hash must be that of its own fields and the record before it's
// hash, so a record changed, removed or inserted behind the program's back
// breaks the chain; the first break is named (the records after it cannot be
// trusted and are not reported further). For every voucher line the trail
// knows, the line's rows must be what its last record says they became.
// Returns the findings in Korean, one line each; none when both agree.
QStringList auditTrail(store::Connection& connection);

} // namespace admin
