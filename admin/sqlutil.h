#pragma once

#include "store/connection.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>

struct sqlite3;

namespace admin {

// Small helpers for the admin commands, on native SQL of every engine.

// The master tables in the order the demo data fills them.
const QStringList& masterTables();

qint64 countRows(store::Connection& connection, const QString& table);

// A prepared statement; throws DbError with the engine's text.
QSqlQuery prepareNative(store::Connection& connection, const QString& sql);
void execPrepared(store::Connection& connection, QSqlQuery& query);
// Runs a statement without preparing it (one that runs once); throws DbError.
void execDirect(store::Connection& connection, const QString& sql);
// The embedded file's own handle under the connection Qt opened, for the
// long passes that bind and read values through SQLite itself.
sqlite3* sqliteHandle(store::Connection& connection);

// One transaction for a command that writes: all of it or nothing.
// Destroyed without commit(), it rolls back.
class AdminTransaction {
public:
    explicit AdminTransaction(store::Connection& connection); // throws DbError
    ~AdminTransaction();
    AdminTransaction(const AdminTransaction&) = delete;
    AdminTransaction& operator=(const AdminTransaction&) = delete;
    void commit(); // throws DbError

private:
    store::Connection& m_connection;
    bool m_open = false;
};

// Prints a line on standard output (UTF-8) at once.
void say(const QString& line);

} // namespace admin
