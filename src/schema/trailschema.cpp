#include "trailschema.h"

#include "store/connection.h"

namespace schema {

namespace {

const QString kRefusal = QStringLiteral("전표 이력(voucher_history)은 고치거나 지울 수 없습니다.");

struct TrailColumn {
    const char* name;
    int width; // 0: a text of any length
};

// The record's own fields, in the order its hash covers them (after the id).
const TrailColumn kHistoryColumns[] = {
    {"operation", 10}, {"serial_jen", 20}, {"serial_bun", 3},    {"branch", 5},  {"date_day", 10},
    {"done_by", 200},  {"done_at", 23},    {"workstation", 100}, {"before", 0},  {"after", 0},
    {"prev_hash", 64}, {"hash", 64},
};

QString textType(int width, core::Engine engine)
{
    if (engine == core::Engine::SqlServer)
        return width ? QStringLiteral("NVARCHAR(%1)").arg(width) : QStringLiteral("NVARCHAR(MAX)");
    return width ? QStringLiteral("VARCHAR(%1)").arg(width) : QStringLiteral("TEXT");
}

QString historyTable(core::Engine engine)
{
    QStringList columns;
    switch (engine) {
    case core::Engine::SQLite:
        columns << QStringLiteral("history_id INTEGER PRIMARY KEY");
        break;
    case core::Engine::PostgreSQL:
        columns << QStringLiteral("history_id BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY");
        break;
    case core::Engine::SqlServer:
        columns << QStringLiteral("history_id BIGINT IDENTITY(1,1) PRIMARY KEY");
        break;
    }
    for (const TrailColumn& c : kHistoryColumns)
        columns << QStringLiteral("%1 %2 NOT NULL").arg(QLatin1String(c.name), textType(c.width, engine));
    return QStringLiteral("voucher_history (%1)").arg(columns.join(QStringLiteral(", ")));
}

QString closedTable(core::Engine engine)
{
    return QStringLiteral("closed_books (closed_through %1 NOT NULL)").arg(textType(10, engine));
}

QStringList createTables(core::Engine engine)
{
    QStringList out;
    for (const auto& [name, body] : {std::pair{"voucher_history", historyTable(engine)},
                                     std::pair{"closed_books", closedTable(engine)}}) {
        if (engine == core::Engine::SqlServer)
            out << QStringLiteral("IF OBJECT_ID(N'%1', N'U') IS NULL CREATE TABLE %2").arg(QLatin1String(name), body);
        else
            out << QStringLiteral("CREATE TABLE IF NOT EXISTS ") + body;
    }
    const QString index = QStringLiteral("ix_history_line");
    if (engine == core::Engine::SqlServer)
        out << QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'%1') "
                              "CREATE INDEX %1 ON voucher_history (serial_jen, serial_bun)")
                   .arg(index);
    else
        out << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON voucher_history (serial_jen, serial_bun)").arg(index);
    return out;
}

// Whoever sends it, owner included: a record once written stays as written.
QStringList appendOnlyTriggers(core::Engine engine)
{
    switch (engine) {
    case core::Engine::SQLite:
        return {QStringLiteral("CREATE TRIGGER IF NOT EXISTS tr_history_no_update BEFORE UPDATE ON voucher_history "
                               "BEGIN SELECT RAISE(ABORT, '%1'); END")
                    .arg(kRefusal),
                QStringLiteral("CREATE TRIGGER IF NOT EXISTS tr_history_no_delete BEFORE DELETE ON voucher_history "
                               "BEGIN SELECT RAISE(ABORT, '%1'); END")
                    .arg(kRefusal)};
    case core::Engine::PostgreSQL:
        return {QStringLiteral("CREATE OR REPLACE FUNCTION voucher_history_append_only() RETURNS trigger "
                               "LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION '%1'; END $$")
                    .arg(kRefusal),
                QStringLiteral("CREATE OR REPLACE TRIGGER tr_history_no_change BEFORE UPDATE OR DELETE ON voucher_history "
                               "FOR EACH ROW EXECUTE FUNCTION voucher_history_append_only()"),
                QStringLiteral("CREATE OR REPLACE TRIGGER tr_history_no_truncate BEFORE TRUNCATE ON voucher_history "
                               "FOR EACH STATEMENT EXECUTE FUNCTION voucher_history_append_only()")};
    case core::Engine::SqlServer:
        return {QStringLiteral("IF OBJECT_ID(N'tr_history_no_change', N'TR') IS NULL EXEC(N'CREATE TRIGGER "
                               "tr_history_no_change ON voucher_history INSTEAD OF UPDATE, DELETE AS BEGIN "
                               "RAISERROR(N''%1'', 16, 1); ROLLBACK TRANSACTION; END')")
                    .arg(kRefusal)};
    }
    return {};
}

} // namespace

QStringList trailSchemaStatements(core::Engine engine)
{
    return createTables(engine) + appendOnlyTriggers(engine);
}

bool trailObjectsMissing(store::Connection& connection)
{
    if (connection.engine() != core::Engine::SQLite)
        return false;
    const QVector<QStringList> found = connection.selectNative(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE name IN ('voucher_history', 'closed_books', 'ix_history_line', "
        "'tr_history_no_update', 'tr_history_no_delete')"));
    return found.value(0).value(0).toInt() < 5;
}

} // namespace schema
