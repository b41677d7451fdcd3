#include "demodata.h"

#include "core/errors.h"
#include "schema.h"
#include "store/failure.h"

#include <QSqlError>
#include <QSqlQuery>

namespace schema {

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

[[noreturn]] void fail(store::Connection& connection, const QSqlQuery& q)
{
    connection.noteFailure(q.lastError());
    throw core::DbError(store::engineText(q.lastError()));
}

bool isEmptyTable(store::Connection& connection, const QString& table)
{
    QSqlQuery q(connection.database());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(table)) || !q.next())
        fail(connection, q);
    return q.value(0).toLongLong() == 0;
}

void insertRows(store::Connection& connection, const demo::DemoTable& t)
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

// The rows of t whose key (the first column) the table lacks.
demo::DemoTable missingRows(store::Connection& connection, const demo::DemoTable& t)
{
    QSqlQuery q(connection.database());
    if (!q.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?").arg(t.table, t.columns.first())))
        fail(connection, q);
    demo::DemoTable missing{t.table, t.columns, {}};
    for (const QStringList& row : t.rows) {
        q.bindValue(0, row.first());
        if (!q.exec() || !q.next())
            fail(connection, q);
        if (q.value(0).toLongLong() == 0)
            missing.rows.append(row);
    }
    return missing;
}

// Runs work in one transaction of the connection: all of it or nothing.
template <typename Work>
void inOneTransaction(store::Connection& connection, Work work)
{
    connection.reopenIfBroken();
    QSqlDatabase db = connection.database();
    if (!db.transaction())
        throw core::DbError(db.lastError().text());
    try {
        work();
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit()) {
        const QString text = db.lastError().text();
        db.rollback();
        throw core::DbError(text);
    }
}

} // namespace

void addProgramRows(store::Connection& connection)
{
    inOneTransaction(connection, [&] {
        for (const demo::DemoTable& t : {demo::fillerRows(), demo::cashAccount()})
            insertRows(connection, missingRows(connection, t)); // rows already there are kept
    });
}

void loadDemoData(store::Connection& connection)
{
    const demo::DemoTable tables[] = {demo::branches(),  demo::accounts(),    demo::customers(),
                                      demo::banks(),     demo::employees(),   demo::departments(),
                                      demo::projects(),  demo::items(),       demo::fillerRows()};
    // All or nothing: a half-filled chart of accounts would be worse than none.
    inOneTransaction(connection, [&] {
        for (const demo::DemoTable& t : tables)
            if (isEmptyTable(connection, t.table)) // tables already filled are kept as they are
                insertRows(connection, t);
    });
}

} // namespace schema
