#include "connection.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "failure.h"
#include "statement.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <utility>

namespace store {

namespace {

std::unique_ptr<Connection>& accountSlot()
{
    static std::unique_ptr<Connection> account;
    return account;
}

std::unique_ptr<Connection>& lookupsSlot()
{
    static std::unique_ptr<Connection> lookups;
    return lookups;
}

QString uniqueName(const char* kind)
{
    static QAtomicInt counter;
    return QStringLiteral("%1-%2").arg(QLatin1String(kind)).arg(counter.fetchAndAddRelaxed(1));
}

// psqlODBC refuses an option that the data source also sets in its pqopt
// (connect_timeout, keep-alives); the data source's own then applies.
bool conflictsWithDataSource(const QSqlError& error)
{
    return error.text().contains(QLatin1String("conflicts with other ordinary option"));
}

// psqlODBC's TCP keep-alive keys (idle seconds, then probes every n seconds):
// a server that went silent while the window was idle is noticed before the
// next action waits on it. Other drivers ignore keys they do not know.
// QODBC writes "DSN=" before the name, so the keys follow it.
constexpr const char* kKeepAliveKeys = ";KeepaliveTime=5;KeepaliveInterval=2";

// psqlODBC wraps every statement inside a transaction in a savepoint of its
// own, one more round trip each while a write unit holds the voucher table's
// lock. An error inside a write unit rolls the whole unit back anyway: the
// driver may do the same ("-1"), and sends no savepoints.
constexpr const char* kRollbackKey = ";Protocol=7.4-1";

// psqlODBC reads a whole result before handing over its first row unless it
// fetches through a cursor: a lookup of 100,000 customers then shows its
// first page after one batch. 1,024 rows a batch: measured against 256, the
// account lookup's search took 42-46 ms instead of 67-69, a list's first page
// of 101,000 customers as long, and reading that list to its end a quarter less.
// The cursor keeps a transaction open while its result is half read, and a
// commit on that connection first reads every open cursor to its end: so
// only the lookups' own connection reads so (Connection::lookups()), and
// there a cursor serves one page and is closed (readsResultsInPages).
constexpr const char* kCursorFetchKeys = ";UseDeclareFetch=1;Fetch=1024";

core::Engine engineOf(const QSqlDatabase& db)
{
    const QString driver = db.driverName();
    if (driver == QLatin1String("QSQLITE"))
        return core::Engine::SQLite;
    if (driver == QLatin1String("QPSQL"))
        return core::Engine::PostgreSQL;
    switch (db.driver()->dbmsType()) {
    case QSqlDriver::PostgreSQL:
        return core::Engine::PostgreSQL;
    case QSqlDriver::SQLite:
        return core::Engine::SQLite;
    default:
        return core::Engine::SqlServer;
    }
}

// A file only read: with no log waiting to be folded in, SQLite reads it as
// it stands (immutable) and makes no -shm, which works in a read-only folder
// too and leaves nothing read-only behind.
QString readOnlyUri(const QString& path)
{
    const QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    return uri + (QFileInfo(path + QStringLiteral("-wal")).size() > 0 ? QStringLiteral("?mode=ro")
                                                                     : QStringLiteral("?immutable=1"));
}

} // namespace

Connection::Connection(QString name, core::Engine engine, QString description)
    : m_name(std::move(name)), m_engine(engine), m_description(std::move(description))
{
}

Connection::~Connection()
{
    awaitOpeningAhead();
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

std::unique_ptr<Connection> Connection::sqliteOpenedOnFirstUse(const QString& path)
{
    const QString name = uniqueName("sqlite");
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    std::unique_ptr<Connection> c(new Connection(
        name, core::Engine::SQLite, QStringLiteral("SQLite 파일 %1").arg(QFileInfo(path).absoluteFilePath())));
    c->m_file = QFileInfo(path).absoluteFilePath();
    c->setSqliteReadOnly(false);
    c->addAfterOpening([](Connection& opened) {
        if (opened.m_sqliteReadOnly)
            return; // a file opened only to be read is left as it is
        // Readers go on while a voucher is being written; a crash mid-write leaves the last commit.
        opened.execNative(QStringLiteral("PRAGMA journal_mode=WAL"));
        // Every commit reaches the disk before the voucher's number is shown: with NORMAL a power
        // cut could take back the last saved vouchers and hand their numbers out again.
        opened.execNative(QStringLiteral("PRAGMA synchronous=FULL"));
    });
    return c;
}

std::unique_ptr<Connection> Connection::openSqlite(const QString& path, bool readOnly)
{
    auto c = sqliteOpenedOnFirstUse(path);
    c->setSqliteReadOnly(readOnly);
    c->open();
    return c;
}

void Connection::setSqliteReadOnly(bool readOnly)
{
    m_sqliteReadOnly = readOnly;
    QSqlDatabase db = database();
    db.setDatabaseName(readOnly ? readOnlyUri(m_file) : m_file);
    // Another workstation (process) holding the write lock makes us wait, not fail.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000")
                         + (readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI") : QString()));
}

std::unique_ptr<Connection> Connection::odbcOpenedOnFirstUse(const QString& dsn, ResultReading reading)
{
    const QString name = uniqueName("odbc");
    QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
    std::unique_ptr<Connection> c(
        new Connection(name, core::Engine::SqlServer, QStringLiteral("ODBC 데이터 원본 %1").arg(dsn)));
    // A server that accepts the connection but never answers must not hang
    // the program: a login time-out, and keep-alives that notice a server
    // gone while the window is idle; each is left out in turn where the
    // data source sets its own.
    const QString loginTimeout = QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=5;");
    const QString connectionTimeout = QStringLiteral("SQL_ATTR_CONNECTION_TIMEOUT=30");
    const QString source = dsn + QLatin1String(kRollbackKey)
                           + (reading == ResultReading::ThroughCursor ? QLatin1String(kCursorFetchKeys) : QLatin1String());
    const QString keepAlive = source + QLatin1String(kKeepAliveKeys);
    c->m_connectAttempts = {
        {keepAlive, loginTimeout + connectionTimeout},
        {keepAlive, connectionTimeout},
        {source, connectionTimeout},
    };
    c->m_dsn = dsn;
    c->addAfterOpening([dsn](Connection& opened) {
        // The driver tells which engine stands behind the data source.
        opened.m_engine = engineOf(opened.database());
        const QString engineName = opened.m_engine == core::Engine::PostgreSQL ? QStringLiteral("PostgreSQL")
                                   : opened.m_engine == core::Engine::SQLite   ? QStringLiteral("SQLite")
                                                                         : QStringLiteral("SQL Server");
        opened.m_description = QStringLiteral("ODBC 데이터 원본 %1 (%2)").arg(dsn, engineName);
    });
    return c;
}

std::unique_ptr<Connection> Connection::openOdbc(const QString& dsn, ResultReading reading)
{
    auto c = odbcOpenedOnFirstUse(dsn, reading);
    c->open();
    return c;
}

void Connection::setBeforeOpening(OpeningStep step)
{
    awaitOpeningAhead();
    m_beforeOpening = std::move(step);
}

void Connection::addAfterOpening(OpeningStep step)
{
    awaitOpeningAhead();
    m_afterOpening.append(std::move(step));
}

void Connection::openAhead(std::function<void(Connection&)> warmUp)
{
    awaitOpeningAhead();
    if (!m_broken && database().isOpen())
        return;
    // Qt lets a connection be used only on the thread its driver belongs to:
    // the driver goes to the worker for the opening and comes back after it.
    QThread* caller = QThread::currentThread();
    QThread* worker = QThread::create([this, caller, warmUp = std::move(warmUp)] {
        try {
            reopenIfBroken();
        } catch (...) {
            m_openingAheadFailure = std::current_exception();
        }
        if (!m_openingAheadFailure && warmUp) {
            try {
                warmUp(*this);
            } catch (...) {
                // The statement that asks the same meets the error again.
            }
        }
        database().driver()->moveToThread(caller);
    });
    database().driver()->moveToThread(worker);
    m_openingAhead.reset(worker);
    worker->start();
}

void Connection::awaitOpeningAhead() const
{
    if (!m_openingAhead || QThread::currentThread() == m_openingAhead.get())
        return;
    m_openingAhead->wait();
    m_openingAhead.reset();
}

void Connection::open()
{
    if (m_beforeOpening)
        m_beforeOpening(*this);
    QSqlDatabase db = database();
    bool opened = false;
    m_socket = -1;
    if (m_connectAttempts.isEmpty()) {
        opened = db.open();
    } else {
        for (const auto& [databaseName, options] : std::as_const(m_connectAttempts)) {
            db.setDatabaseName(databaseName);
            db.setConnectOptions(options);
            m_socket = socketOpenedBy([&] { opened = db.open(); });
            if (opened || !conflictsWithDataSource(db.lastError()))
                break;
        }
    }
    if (!opened)
        throw core::DbError(connectFailureText(db.lastError(), engineText(db.lastError()), m_engine, m_file));
    m_broken = false;
    m_answerLost = false;
    ++m_openings;
    try {
        for (const OpeningStep& step : std::as_const(m_afterOpening))
            step(*this);
        if (m_clerkWaitsBounded)
            applyClerkWaits();
        for (const QString& setting : std::as_const(m_sessionSettings))
            execNative(setting);
    } catch (...) {
        db.close();
        m_broken = true;
        throw;
    }
}

void Connection::addSessionSetting(const QString& sql)
{
    if (database().isOpen() && !m_broken)
        execNative(sql);
    m_sessionSettings.append(sql);
}

void Connection::boundClerkWaits()
{
    m_clerkWaitsBounded = true;
    // Applied at every opening; the engine behind a data source is known
    // only once it answered.
    if (database().isOpen() && !m_broken)
        applyClerkWaits();
}

void Connection::applyClerkWaits()
{
    switch (m_engine) {
    case core::Engine::SQLite:
        // Another workstation's save holds the file for milliseconds; a
        // writer holding it for seconds is stuck, and the clerk is told.
        execNative(QStringLiteral("PRAGMA busy_timeout = %1").arg(kLockWaitSeconds * 1000));
        return;
    case core::Engine::PostgreSQL:
        // Saves of other workstations hold the voucher table's lock for
        // milliseconds; a lock held longer is someone's long work or a
        // forgotten session. A statement of the window reads a few thousand
        // rows at most; ten seconds is far beyond any of them.
        execNative(QStringLiteral("SET lock_timeout = '%1s'").arg(kLockWaitSeconds));
        execNative(QStringLiteral("SET statement_timeout = '%1s'").arg(kStatementSeconds));
        break;
    case core::Engine::SqlServer:
        // Only where the engine is SQL Server itself, not some other engine
        // this connection takes for it.
        if (database().driver()->dbmsType() == QSqlDriver::MSSqlServer)
            execNative(QStringLiteral("SET LOCK_TIMEOUT %1").arg(kLockWaitSeconds * 1000));
        break;
    }
    // A stopped server lets no limit of its own act: the answer bound, a
    // little beyond the statement's, cuts the connection.
    m_answerMs = kAnswerSeconds * 1000;
}

QString Connection::clerkText(const QSqlError& error) const
{
    return clerkFailureText(error, engineText(error), m_engine, m_file);
}

void Connection::fail(const QSqlError& error)
{
    noteFailure(error);
    throw core::DbError(clerkText(error));
}

QSqlDatabase Connection::database() const
{
    awaitOpeningAhead();
    return QSqlDatabase::database(m_name, false);
}

QString Connection::describe() const
{
    awaitOpeningAhead();
    return m_description;
}

void Connection::execNative(const QString& sql)
{
    reopenIfBroken();
    QSqlQuery q(database());
    bool done = false;
    {
        const AnswerDeadline deadline = watchAnswer();
        done = q.exec(sql);
    }
    if (!done)
        fail(q.lastError());
}

QVector<QStringList> Connection::selectNative(const QString& sql)
{
    reopenIfBroken();
    QSqlQuery q(database());
    q.setForwardOnly(true);
    bool done = false;
    {
        const AnswerDeadline deadline = watchAnswer();
        done = q.exec(sql);
    }
    if (!done)
        fail(q.lastError());
    QVector<QStringList> rows;
    const int columns = q.record().count();
    while (q.next()) {
        QStringList row;
        for (int i = 0; i < columns; ++i)
            row << core::Str_TrimRight(q.value(i).toString());
        rows.append(row);
    }
    return rows;
}

void Connection::reopenIfBroken()
{
    awaitOpeningAhead();
    if (m_openingAheadFailure)
        std::rethrow_exception(std::exchange(m_openingAheadFailure, nullptr));
    QSqlDatabase db = database();
    if (!m_broken && db.isOpen())
        return;
    db.close();
    open();
}

void Connection::noteFailure(const QSqlError& error)
{
    if (m_answerLost) { // its socket is shut: nothing more goes through it
        m_broken = true;
        return;
    }
    if (error.type() == QSqlError::ConnectionError || m_engine == core::Engine::SQLite) {
        if (error.type() == QSqlError::ConnectionError)
            m_broken = true;
        return;
    }
    if (m_inTransaction)
        return;
    // ODBC reports a lost server as an ordinary statement error: ask the server.
    QSqlQuery probe(database());
    const AnswerDeadline deadline = watchAnswer();
    if (!probe.exec(QStringLiteral("select 1")))
        m_broken = true;
}

void Connection::finishBounded(QSqlQuery& query)
{
    bool lost = false;
    {
        const AnswerDeadline deadline(m_socket, m_answerMs, &lost);
        query.finish();
    }
    if (!lost)
        return;
    m_answerLost = true;
    fail(QSqlError(QStringLiteral("no answer from the server within %1 s; the connection was closed")
                       .arg(m_answerMs / 1000),
                   QString(), QSqlError::ConnectionError));
}

void Connection::addPendingReader(SqlStatement* statement)
{
    if (!m_pendingReaders.contains(statement))
        m_pendingReaders.append(statement);
}

void Connection::removePendingReader(SqlStatement* statement)
{
    m_pendingReaders.removeAll(statement);
    m_pendingReaders.removeAll(nullptr);
}

void Connection::finishPendingReads()
{
    // Each statement removes itself once its result is read to the end.
    const QList<QPointer<SqlStatement>> readers = m_pendingReaders;
    for (const QPointer<SqlStatement>& statement : readers)
        if (statement && m_pendingReaders.contains(statement))
            statement->rowCount();
    m_pendingReaders.removeAll(nullptr);
}

std::unique_ptr<Connection> Connection::companion(ResultReading reading)
{
    std::unique_ptr<Connection> c =
        m_dsn.isEmpty() ? sqliteOpenedOnFirstUse(m_file) : odbcOpenedOnFirstUse(m_dsn, reading);
    c->m_sessionSettings = m_sessionSettings;
    c->m_clerkWaitsBounded = m_clerkWaitsBounded;
    c->setBeforeOpening([this](Connection& opening) {
        reopenIfBroken(); // makes the file, and finds whether it may be written
        if (!m_dsn.isEmpty())
            return;
        opening.setSqliteReadOnly(m_sqliteReadOnly);
        opening.setReadOnlyNotice(m_readOnlyNotice);
    });
    return c;
}

Connection& Connection::account()
{
    auto& slot = accountSlot();
    if (!slot)
        throw core::DbError(QStringLiteral("데이터 원본 Account가 열려 있지 않습니다."));
    return *slot;
}

bool Connection::hasAccount()
{
    return bool(accountSlot());
}

Connection& Connection::lookups()
{
    auto& slot = lookupsSlot();
    // A lookup may hold an SQLite read snapshot for as long as the clerk
    // leaves its list half read; on a connection of its own that snapshot
    // never stands in the way of a save, which therefore never reads the
    // rest of it first. On a server the lookups alone fetch through a cursor
    // (see kCursorFetchKeys), so that a save's commit has none to finish.
    if (!slot) {
        slot = account().companion(ResultReading::ThroughCursor);
        slot->addAfterOpening([](Connection& opened) {
            // A lookup reads a few thousand rows, or the first page of many
            // in index order: workers cost more to start than they save
            // (the account lookup took 70 ms with them, 40 without).
            if (opened.engine() != core::Engine::PostgreSQL)
                return;
            opened.execNative(QStringLiteral("SET max_parallel_workers_per_gather = 0"));
            // A half-read list's cursor would keep its transaction open while
            // the clerk looks at the list, dialog shown or hidden: its locks
            // would stop an administrator's replace of the table and the
            // server's clean-up. So the cursor serves the first page only.
            opened.setReadsResultsInPages(true);
        });
    }
    return *slot;
}

void Connection::setAccount(std::unique_ptr<Connection> connection)
{
    lookupsSlot().reset();
    if (connection)
        connection->boundClerkWaits();
    accountSlot() = std::move(connection);
}

} // namespace store
