#pragma once

#include "target.h"

namespace admin {

// voucher-admin backup-place DIR | --clear: the second place (another disk,
// a network folder) the program's daily copies of the embedded file go to
// besides the folder beside it (store/dailybackups.h). The folder must exist
// and take a file; it is kept in a small private file beside the database.
// Returns the exit code.
int runBackupPlace(const TargetChoice& choice, const QString& folder);

} // namespace admin
