#pragma once

#include "store/connection.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// Databases for tests: a fresh SQLite file, or a fresh schema of its own on
// the PostgreSQL server behind the ODBC data source `Account` that test.sh
// registers (ODBCINI/ODBCSYSINI). Each PostgreSQL connection works in its
// schema only (search_path), so tests running at once never meet.
namespace testdb {

// Whether the PostgreSQL data source is there. When VOUCHER_REQUIRE_PG is
// set (test.sh sets it), a missing one is a failure, not a skip.
bool postgresAvailable();
bool postgresRequired();

// A new SQLite file in dir, with the schema, and the demo data when asked.
std::unique_ptr<store::Connection> sqlite(const QTemporaryDir& dir, bool demoData = true,
                                          const QString& fileName = QStringLiteral("Account.db"));

// A new, empty schema with a unique name on the PostgreSQL server, given the
// tables, and the demo data when asked; the name is returned through schema.
std::unique_ptr<store::Connection> postgres(bool demoData = true, QString* schema = nullptr);

// Another connection to an existing schema (another workstation).
std::unique_ptr<store::Connection> postgresAttach(const QString& schema);

// Drops a schema made by postgres().
void dropPostgresSchema(const QString& schema);

} // namespace testdb

// In a data-driven QtTest: QSKIP when PostgreSQL is not there and not
// required, QFAIL when it is required.
#define REQUIRE_POSTGRES()                                                                  \
    do {                                                                                    \
        if (!testdb::postgresAvailable()) {                                                 \
            if (testdb::postgresRequired())                                                 \
                QFAIL("the PostgreSQL data source Account is required but not registered"); \
            QSKIP("no PostgreSQL data source Account");                                     \
        }                                                                                   \
    } while (0)
