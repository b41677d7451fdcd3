#pragma once

#include "engine.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

namespace store {

class SqlStatement;

// One open connection to a data source. Each object owns a Qt connection of
// its own name, so tests and tools can hold several at once.
class Connection {
public:
    // The embedded database file; created empty when missing. Throws DbError.
    // Read-only, nothing is written to it, nor beside it unless a log waits
    // to be folded in (then SQLite makes a -shm).
    static std::unique_ptr<Connection> openSqlite(const QString& path, bool readOnly = false);
    // An ODBC data source by name; errors (server down, login refused, no
    // answer within a few seconds) are thrown as DbError with the engine's text.
    static std::unique_ptr<Connection> openOdbc(const QString& dsn);

    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Engine engine() const { return m_engine; }
    QSqlDatabase database() const;
    QString connectionName() const { return m_name; }
    // "SQLite 파일 /path/Account.db" or "ODBC 데이터 원본 Account (PostgreSQL)".
    QString describe() const;
    // Why vouchers cannot be stored through this connection (a file that is
    // only readable), for the clerk at start-up; empty when they can.
    QString readOnlyNotice() const { return m_readOnlyNotice; }
    void setReadOnlyNotice(const QString& notice) { m_readOnlyNotice = notice; }

    // Runs text already written for this engine (schema, pragmas, locks).
    void execNative(const QString& sql);
    // Runs a query written for this engine and returns every row, each column
    // as text without trailing blanks (checks, tools and tests read rows so).
    QVector<QStringList> selectNative(const QString& sql);

    // Reconnects after the engine reported a broken connection, so that the
    // next action works again once the server is back. Throws DbError.
    void reopenIfBroken();
    void markBroken() { m_broken = true; }
    // Counts the times the connection was opened: a statement prepared on an
    // earlier opening must be prepared again.
    quint64 openings() const { return m_openings; }
    // After a failed statement: when the engine no longer answers at all, the
    // connection is marked broken and reopened before the next statement.
    void noteFailure(const QSqlError& error);
    // Set by WriteUnit: inside a transaction a failed statement is left to its rollback.
    void setInTransaction(bool on) { m_inTransaction = on; }

    // Some drivers report the rows an UPDATE or DELETE changed as unknown
    // (-1). Switched on, every write on this connection reports its count so,
    // as such a driver does; its callers then read the rows to decide.
    void setRowCountsUnknown(bool unknown) { m_rowCountsUnknown = unknown; }
    bool rowCountsUnknown() const { return m_rowCountsUnknown; }

    // SQLite keeps a read snapshot open for every result not yet read to its
    // end (a grid, a lookup); a write on this connection then fails at once
    // with "database is locked" once another workstation has written since.
    // Statements register such results; before writing, finishPendingReads()
    // reads the rest of them into memory so that the snapshots are let go.
    void addPendingReader(SqlStatement* statement);
    void removePendingReader(SqlStatement* statement);
    void finishPendingReads();

    // The program's data source `Account`, set once at start-up.
    static Connection& account();
    static bool hasAccount();
    static void setAccount(std::unique_ptr<Connection> connection);

private:
    Connection(QString name, Engine engine, QString description);
    void open();

    QString m_name;
    Engine m_engine;
    QString m_description;
    QString m_readOnlyNotice;
    bool m_broken = false;
    bool m_inTransaction = false;
    bool m_rowCountsUnknown = false;
    quint64 m_openings = 0;
    QList<QPointer<SqlStatement>> m_pendingReaders; // statements may go first
};

} // namespace store
