#pragma once

#include "target.h"

namespace admin {

// voucher-admin status: the data source the program would use (the embedded
// file's path, or the ODBC data source with its driver and server, never a
// password), the schema's state, the rows per table and the last daily
// backup in each place, with a failed or stale one named. Writes nothing;
// an embedded file that is missing is not made.
int runStatus(const TargetChoice& choice);

} // namespace admin
