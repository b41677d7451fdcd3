#pragma once

#include "target.h"

// voucher-admin backup FILE: a copy of the embedded database through
// SQLite's online backup, consistent as of one moment even while the
// program writes (a plain file copy of a database with a write-ahead log is
// not); checked whole before it takes its name. A server data source is
// backed up by its administrator's tools: refused. Returns the exit code.
int runBackup(const TargetChoice& choice, const QString& file);
