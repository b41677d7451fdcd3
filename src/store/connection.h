#pragma once

#include "answerwatch.h"
#include "core/engine.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVector>
#include <exception>
#include <functional>
#include <memory>

namespace store {

class SqlStatement;

// One open connection to a data source. Each object owns a Qt connection of
// its own name, so tests and tools can hold several at once.
class Connection {
public:
    // How a server data source hands over a result: through a cursor, batch
    // by batch as rows are read, or whole before the first row.
    enum class ResultReading { ThroughCursor, Whole };

    // The embedded database file; created empty when missing. Throws DbError.
    // Read-only, nothing is written to it, nor beside it unless a log waits
    // to be folded in (then SQLite makes a -shm).
    static std::unique_ptr<Connection> openSqlite(const QString& path, bool readOnly = false);
    // An ODBC data source by name; errors (server down, login refused, no
    // answer within a few seconds) are thrown as DbError with the engine's text.
    static std::unique_ptr<Connection> openOdbc(const QString& dsn, ResultReading reading = ResultReading::Whole);

    // The same connections, not yet opened: the first statement opens them.
    // An opening that fails throws its error to that statement, and the next
    // statement tries again.
    static std::unique_ptr<Connection> sqliteOpenedOnFirstUse(const QString& path);
    static std::unique_ptr<Connection> odbcOpenedOnFirstUse(const QString& dsn,
                                                            ResultReading reading = ResultReading::Whole);

    // A second connection to the same data source (the same file, or the
    // same ODBC data source read as told), with the same session settings
    // and bounds, opened by its first statement: before that it opens this
    // one, which makes a missing file.
    std::unique_ptr<Connection> companion(ResultReading reading);

    // Opens a connection not yet opened on a worker thread while the caller
    // goes on (the program builds its window meanwhile). Whatever uses the
    // connection next, on the caller's thread, waits for the opening to end
    // and then owns the connection again; an opening that failed is thrown
    // by the next statement as if it had failed there. `warmUp` runs on the
    // worker after a good opening (what the first statements will ask); an
    // error of it is left to the statement that asks again.
    void openAhead(std::function<void(Connection&)> warmUp = {});

    // Steps of every opening: before the engine is asked (making a folder),
    // and after it answered (settings, tables). An error in either ends the
    // opening; the connection stays closed until the next try.
    using OpeningStep = std::function<void(Connection&)>;
    void setBeforeOpening(OpeningStep step);
    void addAfterOpening(OpeningStep step);
    // An embedded file opened only to be read (immutable where no log waits,
    // so nothing is left beside it), or for writing; takes effect at the
    // next opening.
    void setSqliteReadOnly(bool readOnly);

    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    core::Engine engine() const
    {
        awaitOpeningAhead();
        return m_engine;
    }
    QSqlDatabase database() const;
    QString connectionName() const { return m_name; }
    // "SQLite 파일 /path/Account.db" or "ODBC 데이터 원본 Account (PostgreSQL)".
    QString describe() const;
    // Why vouchers cannot be stored through this connection (a file that is
    // only readable), for the clerk at start-up; empty when they can.
    QString readOnlyNotice() const
    {
        awaitOpeningAhead();
        return m_readOnlyNotice;
    }
    void setReadOnlyNotice(const QString& notice) { m_readOnlyNotice = notice; }

    // The waits a clerk may meet, bounded on the program's own connection
    // (setAccount does it): a lock held elsewhere, a statement that runs
    // long, a server that stopped answering. Tools doing long work keep
    // the engine's defaults.
    static constexpr int kLockWaitSeconds = 5;
    static constexpr int kStatementSeconds = 10;
    static constexpr int kAnswerSeconds = 15;
    void boundClerkWaits();
    bool clerkWaitsBounded() const { return m_clerkWaitsBounded; }

    // A session setting (search path, time limits) run now and again after
    // every reconnection, so that a new connection works as the old one did.
    void addSessionSetting(const QString& sql);

    // While the object lives, a statement that gets no answer from the
    // server within the answer bound has its connection cut (see AnswerDeadline).
    AnswerDeadline watchAnswer() { return AnswerDeadline(m_socket, m_answerMs, &m_answerLost); }
    // Whether the server stopped answering on the current connection
    // (it is then also broken); the next opening clears it.
    bool answerLost() const
    {
        awaitOpeningAhead();
        return m_answerLost;
    }

    // Throws the engine's error as the clerk reads it: a Korean line that
    // says what happened and what to do, above the engine's text. Notes a
    // lost connection first.
    [[noreturn]] void fail(const QSqlError& error);
    // The same text without noting the failure.
    QString clerkText(const QSqlError& error) const;

    // Runs text already written for this engine (schema, pragmas, locks).
    void execNative(const QString& sql);
    // Runs a query written for this engine and returns every row, each column
    // as text without trailing blanks (checks, tools and tests read rows so).
    QVector<QStringList> selectNative(const QString& sql);

    // Reconnects after the engine reported a broken connection, so that the
    // next action works again once the server is back. Throws DbError.
    void reopenIfBroken();
    void markBroken() { m_broken = true; }
    bool isBroken() const
    {
        awaitOpeningAhead();
        return m_broken;
    }
    // Counts the times the connection was opened: a statement prepared on an
    // earlier opening must be prepared again.
    quint64 openings() const
    {
        awaitOpeningAhead();
        return m_openings;
    }
    // After a failed statement: when the engine no longer answers at all, the
    // connection is marked broken and reopened before the next statement.
    void noteFailure(const QSqlError& error);
    // Set by WriteUnit: inside a transaction a failed statement is left to its rollback.
    void setInTransaction(bool on) { m_inTransaction = on; }
    bool inTransaction() const { return m_inTransaction; }
    // How long the last write unit held the voucher table's lock, from taking
    // it to its release by commit or rollback, in nanoseconds (WriteUnit
    // notes it; the workstation benchmark reads it).
    qint64 lastLockHeldNs() const { return m_lastLockHeldNs; }
    void noteLockHeld(qint64 ns) { m_lastLockHeldNs = ns; }

    // Some drivers report the rows an UPDATE or DELETE changed as unknown
    // (-1). Switched on, every write on this connection reports its count so,
    // as such a driver does; its callers then read the rows to decide.
    void setRowCountsUnknown(bool unknown) { m_rowCountsUnknown = unknown; }
    bool rowCountsUnknown() const { return m_rowCountsUnknown; }

    // Whether the statements run while a result is being read see the rows
    // as that result does: on SQLite the open result holds the connection's
    // read snapshot. Counting a result and reading parts of it by other
    // statements relies on it, or on a result read in pages anyway.
    bool readsOpenResultsInOneSnapshot() const { return engine() == core::Engine::SQLite; }

    // Whether a result is read page by page, each page in a short
    // transaction of its own: the first through the cursor the result opened
    // with, which is then closed, the rest by windows of the result as they
    // are asked for. A server session then never sits inside a transaction
    // (holding locks and the server's clean-up) while a list is looked at.
    bool readsResultsInPages() const { return m_inPages; }
    void setReadsResultsInPages(bool pages) { m_inPages = pages; }

    // Lets the engine go of a result within the answer bound (closing a
    // cursor is a round trip to the server, which may have stopped
    // answering); throws DbError when the server did not answer.
    void finishBounded(QSqlQuery& query);

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
    // The connection the lookup dialogs read through: the account's
    // companion, made at the first call and opened by the first lookup
    // search; a new account gets a new one.
    static Connection& lookups();

private:
    Connection(QString name, core::Engine engine, QString description);
    void open();
    void applyClerkWaits();
    // Waits for an opening under way on the worker (openAhead), unless
    // called on that worker.
    void awaitOpeningAhead() const;

    QString m_name;
    QString m_file; // the embedded database's path, empty for a server
    QString m_dsn;  // the ODBC data source's name, empty for a file
    QStringList m_sessionSettings;
    // A server data source: its connection string and options, tried in
    // turn while the driver refuses an option the data source sets itself.
    QList<std::pair<QString, QString>> m_connectAttempts;
    bool m_clerkWaitsBounded = false;
    bool m_inPages = false;
    int m_socket = -1; // the server connection's socket, when it is known
    int m_answerMs = 0;
    bool m_answerLost = false;
    core::Engine m_engine;
    QString m_description;
    OpeningStep m_beforeOpening;
    QList<OpeningStep> m_afterOpening;
    bool m_broken = true; // never opened yet
    QString m_readOnlyNotice;
    bool m_sqliteReadOnly = false;
    bool m_inTransaction = false;
    qint64 m_lastLockHeldNs = 0;
    bool m_rowCountsUnknown = false;
    quint64 m_openings = 0;
    QList<QPointer<SqlStatement>> m_pendingReaders; // statements may go first
    // The worker of openAhead() while it may run, and the error of its opening
    // until a statement throws it.
    mutable std::unique_ptr<QThread> m_openingAhead;
    mutable std::exception_ptr m_openingAheadFailure;
};

} // namespace store
