#pragma once

#include "store/connection.h"

#include <QString>
#include <memory>

namespace admin {

// Where an admin command works: the data source `Account` as the program
// resolves it, a given SQLite file, or the ODBC data source `Account`.
struct TargetChoice {
    QString sqlitePath; // --sqlite PATH
    bool odbc = false;  // --odbc
    QString schema;     // --schema S: the PostgreSQL schema to work in (search_path)
};

struct OpenedTarget {
    std::unique_ptr<store::Connection> connection;
    bool createdFile = false; // a new SQLite file was made
};

// Throws DbError/AppError with a text for the administrator. A command that
// reads a whole table asks for ThroughCursor: a server then hands the rows
// over batch by batch instead of the whole result before the first row.
OpenedTarget openTarget(const TargetChoice& choice,
                        store::Connection::ResultReading reading = store::Connection::ResultReading::Whole);

// The embedded file a target names: --sqlite PATH, or the program's own file
// when no ODBC data source is registered; empty for a server data source.
QString sqliteFileOf(const TargetChoice& choice);

} // namespace admin
