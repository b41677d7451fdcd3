#pragma once

#include "target.h"

namespace admin {

// voucher-admin add-clerk NAME / add-admin NAME on a PostgreSQL data source:
// a login role with the rights a clerk's program needs (read the master
// tables, read and write the vouchers, add to the trail, read the closed
// periods) or, for an administrator, also those of the tools. Neither may
// change or delete a record of the trail. No password is set here: the
// administrator gives one with psql's \password, and each workstation keeps
// it in libpq's password file, never in odbc.ini.
int runAddLogin(const TargetChoice& target, const QString& name, bool administrator);

} // namespace admin
