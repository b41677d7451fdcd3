#include "sqlutil.h"

#include "core/errors.h"
#include "store/failure.h"

#include <QSqlError>
#include <cstdio>

namespace {

[[noreturn]] void fail(store::Connection& connection, const QSqlQuery& q)
{
    connection.noteFailure(q.lastError());
    throw DbError(store::engineText(q.lastError()));
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

void say(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
