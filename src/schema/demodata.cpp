#include "demodata.h"

#include "core/errors.h"
#include "schema.h"
#include "store/failure.h"

#include <QSqlError>
#include <QSqlQuery>

namespace store {

namespace demo {

DemoTable makeTable(const char* name, std::initializer_list<const char*> columns,
                    std::initializer_list<std::initializer_list<const char*>> rows)
{
    const auto texts = [](std::initializer_list<const char*> list) {
        QStringList out;
        for (const char* s : list)
            out << QString::fromUtf8(s);
        return out;
    };
    DemoTable t;
    t.table = QString::fromUtf8(name);
    t.columns = texts(columns);
    for (const auto& row : rows)
        t.rows.append(texts(row));
    return t;
}

} // namespace demo

namespace {

[[noreturn]] void fail(Connection& connection, const QSqlQuery& q)
{
    connection.noteFailure(q.lastError());
    throw DbError(engineText(q.lastError()));
}

bool isEmptyTable(Connection& connection, const QString& table)
{
    QSqlQuery q(connection.database());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(table)) || !q.next())
        fail(connection, q);
    return q.value(0).toLongLong() == 0;
}

void insertRows(Connection& connection, const demo::DemoTable& t)
{
    QStringList marks;
    for (qsizetype i = 0; i < t.columns.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery q(connection.database());
    if (!q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(t.table, t.columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")))))
        fail(connection, q);
    for (const QStringList& row : t.rows) {
        for (qsizetype i = 0; i < row.size(); ++i)
            q.bindValue(int(i), row[i]);
        if (!q.exec())
            fail(connection, q);
    }
}

} // namespace

void loadDemoData(Connection& connection)
{
    const demo::DemoTable tables[] = {demo::branches(),  demo::accounts(),    demo::customers(),
                                      demo::banks(),     demo::employees(),   demo::departments(),
                                      demo::projects(),  demo::items(),       demo::fillerRows()};
    connection.reopenIfBroken();
    QSqlDatabase db = connection.database();
    // All or nothing: a half-filled chart of accounts would be worse than none.
    if (!db.transaction())
        throw DbError(db.lastError().text());
    try {
        for (const demo::DemoTable& t : tables)
            if (isEmptyTable(connection, t.table)) // tables already filled are kept as they are
                insertRows(connection, t);
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit()) {
        const QString text = db.lastError().text();
        db.rollback();
        throw DbError(text);
    }
}

} // namespace store
