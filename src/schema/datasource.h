#pragma once

#include "store/connection.h"

#include <QString>
#include <memory>

namespace schema {

inline constexpr const char* kDataSourceName = "Account";

// Asks the ODBC driver manager (SQLDataSources) whether a data source of this
// name is registered, user or system.
bool odbcDataSourceExists(const QString& name);

// <user data folder>/voucher/Account.db, whatever the executable is called
QString defaultSqlitePath();

// The embedded file at path: created whole with the schema and demo master
// data when new (or not at all: DbError), finished when a failed first start
// of an earlier version left its tables empty, given the indexes it lacks
// when an earlier version made it. The folder and files are kept private to
// the user. A file the user may not write is opened read-only, with a
// readOnlyNotice() for the clerk.
std::unique_ptr<store::Connection> openEmbedded(const QString& path);

// The same file, opened (and made) by the first statement; an opening that
// fails is tried again by the next statement.
std::unique_ptr<store::Connection> embeddedOpenedOnFirstUse(const QString& path);

// The data source `Account` as the program resolves it: the ODBC data source
// when one is registered (its errors reach the statements, never hidden by a
// fallback), otherwise the SQLite file, created with the schema and demo
// master data on first use. Nothing is opened yet: the window's first
// statement opens it, and one that fails is tried again by the next.
std::unique_ptr<store::Connection> resolveAccount();

} // namespace schema
