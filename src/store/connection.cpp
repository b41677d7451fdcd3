#include "connection.h"

#include "app/errors.h"
#include "app/strutil.h"
#include "statement.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

namespace store {

namespace {

std::unique_ptr<Connection>& accountSlot()
{
    static std::unique_ptr<Connection> account;
    return account;
}

QString uniqueName(const char* kind)
{
    static QAtomicInt counter;
    return QStringLiteral("%1-%2").arg(QLatin1String(kind)).arg(counter.fetchAndAddRelaxed(1));
}

QString errorText(const QSqlError& error)
{
    QString text = error.text().trimmed();
    if (text.isEmpty())
        text = error.databaseText().trimmed();
    return text;
}

Engine engineOf(const QSqlDatabase& db)
{
    const QString driver = db.driverName();
    if (driver == QLatin1String("QSQLITE"))
        return Engine::SQLite;
    if (driver == QLatin1String("QPSQL"))
        return Engine::PostgreSQL;
    switch (db.driver()->dbmsType()) {
    case QSqlDriver::PostgreSQL:
        return Engine::PostgreSQL;
    case QSqlDriver::SQLite:
        return Engine::SQLite;
    default:
        return Engine::SqlServer;
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

Connection::Connection(QString name, Engine engine, QString description)
    : m_name(std::move(name)), m_engine(engine), m_description(std::move(description))
{
}

Connection::~Connection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

std::unique_ptr<Connection> Connection::openSqlite(const QString& path, bool readOnly)
{
    const QString name = uniqueName("sqlite");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(readOnly ? readOnlyUri(path) : path);
        // Another workstation (process) holding the write lock makes us wait, not fail.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000")
                             + (readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI") : QString()));
    }
    std::unique_ptr<Connection> c(new Connection(
        name, Engine::SQLite, QStringLiteral("SQLite 파일 %1").arg(QFileInfo(path).absoluteFilePath())));
    c->open();
    if (readOnly)
        return c;
    // Readers go on while a voucher is being written; a crash mid-write leaves the last commit.
    c->execNative(QStringLiteral("PRAGMA journal_mode=WAL"));
    c->execNative(QStringLiteral("PRAGMA synchronous=NORMAL"));
    return c;
}

std::unique_ptr<Connection> Connection::openOdbc(const QString& dsn)
{
    const QString name = uniqueName("odbc");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(dsn);
        // A server that accepts the connection but never answers must not hang the program.
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=5;SQL_ATTR_CONNECTION_TIMEOUT=30"));
    }
    std::unique_ptr<Connection> c(new Connection(name, Engine::SqlServer, QString()));
    {
        QSqlDatabase db = c->database();
        if (!db.open()) {
            // psqlODBC refuses a login timeout when the data source sets its own
            // (pqopt=connect_timeout=…); that one then bounds the wait instead.
            if (!db.lastError().text().contains(QLatin1String("conflicts with other ordinary option")))
                throw DbError(QStringLiteral("데이터베이스에 연결할 수 없습니다: %1").arg(errorText(db.lastError())));
            db.setConnectOptions(QStringLiteral("SQL_ATTR_CONNECTION_TIMEOUT=30"));
            c->open();
        }
    }
    c->m_engine = engineOf(c->database());
    const QString engineName = c->m_engine == Engine::PostgreSQL ? QStringLiteral("PostgreSQL")
                               : c->m_engine == Engine::SQLite   ? QStringLiteral("SQLite")
                                                                 : QStringLiteral("SQL Server");
    c->m_description = QStringLiteral("ODBC 데이터 원본 %1 (%2)").arg(dsn, engineName);
    return c;
}

void Connection::open()
{
    QSqlDatabase db = database();
    if (!db.open())
        throw DbError(QStringLiteral("데이터베이스에 연결할 수 없습니다: %1").arg(errorText(db.lastError())));
    m_broken = false;
    ++m_openings;
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

QString Connection::describe() const
{
    return m_description;
}

void Connection::execNative(const QString& sql)
{
    reopenIfBroken();
    QSqlQuery q(database());
    if (!q.exec(sql)) {
        const QSqlError error = q.lastError();
        noteFailure(error);
        throw DbError(errorText(error));
    }
}

QVector<QStringList> Connection::selectNative(const QString& sql)
{
    reopenIfBroken();
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        const QSqlError error = q.lastError();
        noteFailure(error);
        throw DbError(errorText(error));
    }
    QVector<QStringList> rows;
    const int columns = q.record().count();
    while (q.next()) {
        QStringList row;
        for (int i = 0; i < columns; ++i)
            row << Str_TrimRight(q.value(i).toString());
        rows.append(row);
    }
    return rows;
}

void Connection::reopenIfBroken()
{
    QSqlDatabase db = database();
    if (!m_broken && db.isOpen())
        return;
    db.close();
    open();
}

void Connection::noteFailure(const QSqlError& error)
{
    if (error.type() == QSqlError::ConnectionError || m_engine == Engine::SQLite) {
        if (error.type() == QSqlError::ConnectionError)
            m_broken = true;
        return;
    }
    if (m_inTransaction)
        return;
    // ODBC reports a lost server as an ordinary statement error: ask the server.
    QSqlQuery probe(database());
    if (!probe.exec(QStringLiteral("select 1")))
        m_broken = true;
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

Connection& Connection::account()
{
    auto& slot = accountSlot();
    if (!slot)
        throw DbError(QStringLiteral("데이터 원본 Account가 열려 있지 않습니다."));
    return *slot;
}

bool Connection::hasAccount()
{
    return bool(accountSlot());
}

void Connection::setAccount(std::unique_ptr<Connection> connection)
{
    accountSlot() = std::move(connection);
}

} // namespace store
