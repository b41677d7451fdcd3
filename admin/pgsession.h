#pragma once

#include "store/connection.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

struct pg_conn;
struct pg_result;

namespace admin {

// A libpq connection of the admin tool's own beside the ODBC connection to a
// PostgreSQL server: the way to the server's COPY, which ODBC does not offer.
// It is opened from the data source's own settings (server, port, database,
// login, password when the data source keeps one, SSL mode, pqopt), so it
// reaches the same server as the same login, and it works in the ODBC
// session's search path. Values travel as UTF-8 text in ISO date style, and
// doubles in the digits that read back as the same number.
class PgSession {
public:
    // Throws AppError naming the server when it cannot be opened or is not
    // the database the ODBC connection works in.
    static std::unique_ptr<PgSession> openBeside(store::Connection& odbc, const QString& dsn);
    // Opened beside the data source Account's connection, in one read-only
    // snapshot of the server's rows, for a pass that reads them (copy, export).
    static std::unique_ptr<PgSession> openSnapshot(store::Connection& odbc);
    ~PgSession();
    PgSession(const PgSession&) = delete;
    PgSession& operator=(const PgSession&) = delete;

    // Runs a statement; throws DbError with the server's text.
    void exec(const QString& sql);
    // Ends the transaction BEGIN opened; throws DbError when the server
    // rolled it back instead (it answers COMMIT so after a failure).
    void commit();
    // Every row of a query, each column as text without trailing blanks.
    QVector<QStringList> select(const QString& sql);
    // The statement with each ? replaced by the next value as a quoted
    // constant, for the statements that take no parameters (COPY).
    QString withConstants(const QString& sql, const QStringList& values) const;
    // The type (OID) of each column the query returns, without running it.
    QVector<unsigned> columnTypes(const QString& sql);

    pg_conn* handle() const { return m_conn; }
    // The last error of the connection, or the result's.
    [[noreturn]] void fail(const pg_result* result = nullptr) const;
    // After a COPY's last row in either direction: reads the server's
    // answers and throws the first that is not a success.
    void finishCopy() const;

private:
    explicit PgSession(pg_conn* conn) : m_conn(conn) {}
    pg_result* run(const QString& sql, int expected);

    pg_conn* m_conn;
};

} // namespace admin
