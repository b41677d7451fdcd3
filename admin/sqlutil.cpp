#include "sqlutil.h"

#include "core/errors.h"
#include "store/failure.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <cstdio>

namespace admin {

namespace {

[[noreturn]] void fail(store::Connection& connection, const QSqlQuery& q)
{
    connection.noteFailure(q.lastError());
    throw core::DbError(store::engineText(q.lastError()));
}

} // namespace

const QStringList& masterTables()
{
    static const QStringList tables = {
        QStringLiteral("kubun_table"), QStringLiteral("test_ac_code"), QStringLiteral("Sale_Table"),
        QStringLiteral("Bank_Table"),  QStringLiteral("Sawon_Table"),  QStringLiteral("Buser_Table"),
        QStringLiteral("Project_Table"), QStringLiteral("Item_Table"), QStringLiteral("Jen_Print"),
    };
    return tables;
}

qint64 countRows(store::Connection& connection, const QString& table)
{
    QSqlQuery q(connection.database());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(table)) || !q.next())
        fail(connection, q);
    return q.value(0).toLongLong();
}

QSqlQuery prepareNative(store::Connection& connection, const QString& sql)
{
    QSqlQuery q(connection.database());
    if (!q.prepare(sql))
        fail(connection, q);
    return q;
}

void execPrepared(store::Connection& connection, QSqlQuery& query)
{
    if (!query.exec())
        fail(connection, query);
}

sqlite3* sqliteHandle(store::Connection& connection)
{
    return *static_cast<sqlite3* const*>(connection.database().driver()->handle().constData());
}

void execDirect(store::Connection& connection, const QString& sql)
{
    QSqlQuery q(connection.database());
    if (!q.exec(sql))
        fail(connection, q);
}

AdminTransaction::AdminTransaction(store::Connection& connection) : m_connection(connection)
{
    connection.reopenIfBroken();
    QSqlDatabase db = connection.database();
    if (!db.transaction())
        throw core::DbError(db.lastError().text());
    connection.setInTransaction(true);
    m_open = true;
}

AdminTransaction::~AdminTransaction()
{
    if (m_open) {
        m_connection.database().rollback();
        m_connection.setInTransaction(false);
    }
}

void AdminTransaction::commit()
{
    QSqlDatabase db = m_connection.database();
    m_open = false;
    m_connection.setInTransaction(false);
    if (!db.commit()) {
        const QString text = db.lastError().text();
        db.rollback();
        throw core::DbError(text);
    }
}

void say(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace admin
