#pragma once

#include "target.h"

namespace admin {

// voucher-admin backup FILE: a copy of the embedded database through
// SQLite's online backup (store/onlinebackup.h), consistent as of one moment
// even while the program writes; checked whole before it takes its name. A
// server data source is backed up by its administrator's tools: refused.
// Returns the exit code.
int runBackup(const TargetChoice& choice, const QString& file);

// voucher-admin restore FILE: the backup's pages copied into the embedded
// database, whole or not at all; refused while a program has the file open,
// and the program's single-instance lock held meanwhile so none starts.
// Only a backup of the program's own tables, columns and indexes is
// restored; the books it replaces are backed up first. A person at a
// terminal is asked; a script says yes with `yes` (--yes), else it is refused.
int runRestore(const TargetChoice& choice, const QString& file, bool yes);

} // namespace admin
