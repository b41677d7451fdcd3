#pragma once

#include "store/connection.h"

#include <QString>
#include <memory>

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

// Throws DbError/AppError with a text for the administrator.
OpenedTarget openTarget(const TargetChoice& choice);

// The embedded file a target names: --sqlite PATH, or the program's own file
// when no ODBC data source is registered; empty for a server data source.
QString sqliteFileOf(const TargetChoice& choice);
