#include "schema.h"

#include "core/errors.h"
#include "voucherform.h"
#include "trailschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <map>
#include <mutex>
#include <vector>

namespace schema {

namespace {

using Kind = schema::ColumnKind;
using Column = schema::VoucherColumn;

struct Table {
    const char* name;
    std::vector<Column> columns;
    const char* sqliteCheck = nullptr; // SQLite keeps texts of any length: the widths the statements rely on
};

// The voucher list narrows `Date_Day + Kubun_Bon like '%<date><branch>%'` to
// one date and branch only when neither column can hold more than its width;
// the server engines refuse a longer text by the column type.
constexpr const char* kKeyWidthsCheck = "ck_jen_key_widths";

const Table kLedgerTable{kVoucherTable,
                          {std::begin(schema::kVoucherColumns), std::end(schema::kVoucherColumns)},
                          "length(Date_Day) <= 10 AND length(Kubun_Bon) <= 5"};

// The master tables the lookups, the branch selector and the printed voucher read.
// The three parts of an account's group key are 1 + 2 + 2 characters, so that
// a_kubun + b_kubun + c_kubun is exactly the five-character key ("10101").
const Table kMasterTables[] = {
    {"kubun_table", {{"Kubun_Code", Kind::Fixed, 5}, {"Kubun_Name", Kind::Fixed, 50}, {"Kubun_JangSo", Kind::Fixed, 50}}},
    {"test_ac_code",
     {{"ac_code", Kind::Fixed, 12},
      {"ac_name", Kind::Fixed, 90},
      {"bigo", Kind::Fixed, 116},
      {"code_kubun", Kind::Fixed, 5},
      {"a_kubun", Kind::Fixed, 1},
      {"b_kubun", Kind::Fixed, 2},
      {"c_kubun", Kind::Fixed, 2}}},
    {"Sale_Table",
     {{"Sale_Code", Kind::Fixed, 15},
      {"Sale_Name", Kind::Fixed, 50},
      {"Sale_Serial01", Kind::Fixed, 3},
      {"Sale_Serial02", Kind::Fixed, 2},
      {"Sale_Serial03", Kind::Fixed, 5}}},
    {"Bank_Table", {{"Bank_Code", Kind::Fixed, 15}, {"Bank_Name", Kind::Fixed, 50}, {"Bank_Serial", Kind::Fixed, 50}}},
    {"Sawon_Table",
     {{"Sawon_Code", Kind::Fixed, 15},
      {"Sawon_Name", Kind::Fixed, 30},
      {"Sawon_Kubun", Kind::Fixed, 10},
      {"Sawon_Jumin01", Kind::Fixed, 6},
      {"Sawon_Jumin02", Kind::Fixed, 7},
      {"Sawon_Text", Kind::Fixed, 100}}},
    {"Buser_Table", {{"Buser_Code", Kind::Fixed, 15}, {"Buser_Name", Kind::Fixed, 50}, {"Buser_Text", Kind::Fixed, 100}}},
    {"Project_Table",
     {{"Project_Code", Kind::Fixed, 15}, {"Project_Name", Kind::Fixed, 50}, {"Project_Text", Kind::Fixed, 100}}},
    {"Item_Table", {{"Item_Code", Kind::Fixed, 15}, {"Item_Name", Kind::Fixed, 50}, {"Item_Text", Kind::Fixed, 100}}},
    {"Jen_Print", {{"Tot", Kind::Fixed, 2}}},
};

QString columnType(const Column& c, core::Engine engine)
{
    switch (c.kind) {
    case Kind::Fixed:
        // SQLite keeps texts as given; RTRIM collation makes = and IN ignore
        // trailing blanks the way the server engines compare CHAR columns.
        return engine == core::Engine::SQLite ? QStringLiteral("CHAR(%1) COLLATE RTRIM").arg(c.width)
                                        : QStringLiteral("CHAR(%1)").arg(c.width);
    case Kind::Varying:
        return engine == core::Engine::SQLite ? QStringLiteral("VARCHAR(%1) COLLATE RTRIM").arg(c.width)
                                        : QStringLiteral("VARCHAR(%1)").arg(c.width);
    case Kind::Float:
        return engine == core::Engine::SqlServer ? QStringLiteral("FLOAT") : QStringLiteral("DOUBLE PRECISION");
    case Kind::DateTime:
        return engine == core::Engine::SqlServer ? QStringLiteral("DATETIME") : QStringLiteral("TIMESTAMP");
    }
    return {};
}

QString createTable(const Table& table, core::Engine engine)
{
    QStringList columns;
    for (const Column& c : table.columns)
        columns << QStringLiteral("    %1 %2 NULL").arg(QLatin1String(c.name), columnType(c, engine));
    if (engine == core::Engine::SQLite && table.sqliteCheck)
        columns << QStringLiteral("    CONSTRAINT %1 CHECK (%2)")
                       .arg(QLatin1String(kKeyWidthsCheck), QLatin1String(table.sqliteCheck));
    const QString body = QStringLiteral("%1 (\n%2\n)").arg(QLatin1String(table.name), columns.join(QStringLiteral(",\n")));
    if (engine == core::Engine::SqlServer)
        return QStringLiteral("IF OBJECT_ID(N'%1', N'U') IS NULL CREATE TABLE %2").arg(QLatin1String(table.name), body);
    return QStringLiteral("CREATE TABLE IF NOT EXISTS ") + body;
}

struct Index {
    const char* name;
    const char* table;
    const char* sqlite;    // column list for SQLite
    const char* postgres;  // column list for PostgreSQL
    const char* sqlServer; // column list for SQL Server
};

// What the statements look up on a large voucher table: one voucher by its
// number (compared through rtrim), the vouchers of a date and branch, and the
// highest number of a date. SQL Server compares CHAR columns ignoring
// trailing blanks, but rtrim(column) is not searchable there: the computed
// column Serial_Jen_Key below gives the optimizer an index to match it with.
const Index kIndexes[] = {
    {"ix_jen_serial_key", "account_jen_AA", "rtrim(Serial_Jen)", "rtrim(serial_jen)", "Serial_Jen_Key"},
    {"ix_jen_serial", "account_jen_AA", "Serial_Jen", "serial_jen", "Serial_Jen"},
    {"ix_jen_date_bon", "account_jen_AA", "Date_Day, Kubun_Bon", "date_day, kubun_bon", "Date_Day, Kubun_Bon"},
    {"ix_jen_date_serial", "account_jen_AA", "Date_Day, Serial_Jen", "date_day, serial_jen", "Date_Day, Serial_Jen"},
    // The keys of the correction and the deletion, and the date and branch
    // the list is narrowed to, exactly as the translated statements spell them.
    {"ix_jen_row_key", "account_jen_AA", "(rtrim(Date_Day) || rtrim(Serial_Jen) || rtrim(Serial_Bun) || rtrim(Serial_CrDr))",
     "(rtrim(date_day) || rtrim(serial_jen) || rtrim(serial_bun) || rtrim(serial_crdr))", nullptr},
    {"ix_jen_line_key", "account_jen_AA", "(rtrim(Serial_Jen) || rtrim(Serial_Bun))",
     "(rtrim(serial_jen) || rtrim(serial_bun))", nullptr},
    // Branch first: a date alone (the line numbers of a voucher) is better
    // served by the voucher number's index.
    {"ix_jen_bon_day_key", "account_jen_AA", "rtrim(Kubun_Bon), rtrim(Date_Day)", "rtrim(kubun_bon), rtrim(date_day)",
     nullptr},
    {"ix_kubun_code", "kubun_table", "Kubun_Code", "kubun_code", "Kubun_Code"},
    {"ix_ac_code", "test_ac_code", "ac_code", "ac_code", "ac_code"},
    // The account lookup's groups, keyed by the three classification parts joined.
    {"ix_ac_group", "test_ac_code", "(a_kubun || b_kubun || c_kubun)", "(a_kubun || b_kubun || c_kubun)", nullptr},
    {"ix_sale_code", "Sale_Table", "Sale_Code", "sale_code", "Sale_Code"},
    {"ix_bank_code", "Bank_Table", "Bank_Code", "bank_code", "Bank_Code"},
    {"ix_sawon_code", "Sawon_Table", "Sawon_Code", "sawon_code", "Sawon_Code"},
    {"ix_buser_code", "Buser_Table", "Buser_Code", "buser_code", "Buser_Code"},
    {"ix_project_code", "Project_Table", "Project_Code", "project_code", "Project_Code"},
    {"ix_item_code", "Item_Table", "Item_Code", "item_code", "Item_Code"},
};

QString createIndex(const Index& index, core::Engine engine)
{
    const char* columns = engine == core::Engine::SQLite       ? index.sqlite
                          : engine == core::Engine::PostgreSQL ? index.postgres
                                                         : index.sqlServer;
    if (!columns)
        return {};
    const QString name = QLatin1String(index.name);
    const QString table = QLatin1String(index.table);
    if (engine == core::Engine::SqlServer)
        return QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'%1' AND object_id = OBJECT_ID(N'%2')) "
                              "CREATE INDEX %1 ON %2 (%3)")
            .arg(name, table, QLatin1String(columns));
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)").arg(name, table, QLatin1String(columns));
}

QStringList schemaStatements(core::Engine engine)
{
    QStringList statements;
    statements << createTable(kLedgerTable, engine);
    if (engine == core::Engine::SqlServer)
        statements << QStringLiteral("IF COL_LENGTH(N'account_jen_AA', N'Serial_Jen_Key') IS NULL "
                                     "ALTER TABLE account_jen_AA ADD Serial_Jen_Key AS rtrim(Serial_Jen)");
    for (const Table& table : kMasterTables)
        statements << createTable(table, engine);
    for (const Index& index : kIndexes) {
        const QString sql = createIndex(index, engine);
        if (!sql.isEmpty())
            statements << sql;
    }
    return statements + trailSchemaStatements(engine);
}

// The lookups' name searches, as the dialect sends them to PostgreSQL:
// `rtrim(Sale_Name) like (:tbName)` becomes `rtrim(sale_name) ILIKE (…)`,
// which a trigram index of that same expression answers despite the leading
// '%'. The account and employee lookups compare the bare CHAR column, whose
// LIKE counts the padding: no trigram index takes that column type.
struct NameSearchIndex {
    const char* name;
    const char* table;
    const char* expression;
};

const NameSearchIndex kNameSearchIndexes[] = {
    {"ix_sale_name_trgm", "Sale_Table", "rtrim(sale_name)"},
    {"ix_bank_name_trgm", "Bank_Table", "rtrim(bank_name)"},
    {"ix_buser_name_trgm", "Buser_Table", "rtrim(buser_name)"},
    {"ix_project_name_trgm", "Project_Table", "rtrim(project_name)"},
    {"ix_item_name_trgm", "Item_Table", "rtrim(item_name)"},
};

// The schema (quoted) holding pg_trgm, empty when it is not installed.
QString trigramSchema(store::Connection& connection)
{
    const QVector<QStringList> found = connection.selectNative(QStringLiteral(
        "SELECT quote_ident(n.nspname) FROM pg_extension e JOIN pg_namespace n ON n.oid = e.extnamespace "
        "WHERE e.extname = 'pg_trgm'"));
    return found.isEmpty() ? QString() : found[0].value(0);
}

// pg_trgm is installed once per database, in `public` where there is one:
// in the schema of one company's books it would go when that schema is
// dropped, and take the indexes of every other schema with it.
QString installTrigrams(store::Connection& connection)
{
    QString schema = trigramSchema(connection);
    if (!schema.isEmpty())
        return schema;
    try {
        connection.execNative(QStringLiteral(
            "DO $$ BEGIN EXECUTE format('CREATE EXTENSION IF NOT EXISTS pg_trgm SCHEMA %I', "
            "COALESCE((SELECT nspname FROM pg_namespace WHERE nspname = 'public'), current_schema())); END $$"));
    } catch (const core::DbError&) {
        // No right to create it, or another session created it meanwhile.
    }
    return trigramSchema(connection);
}

} // namespace

QString createNameSearchIndexes(store::Connection& connection)
{
    if (connection.engine() != core::Engine::PostgreSQL)
        return {};
    QString reason;
    try {
        const QString schema = installTrigrams(connection);
        if (schema.isEmpty())
            reason = QStringLiteral("pg_trgm 확장을 만들 권한이 없습니다.");
        for (const NameSearchIndex& index : kNameSearchIndexes)
            if (!schema.isEmpty())
                connection.execNative(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 USING gin (%3 %4.gin_trgm_ops)")
                                          .arg(QLatin1String(index.name), QLatin1String(index.table),
                                               QLatin1String(index.expression), schema));
    } catch (const core::DbError& error) {
        reason = error.text();
    }
    if (reason.isEmpty())
        return {};
    return QStringLiteral("알림: 이름 검색용 인덱스를 만들지 못했습니다. 프로그램은 그대로 쓸 수 있지만 "
                          "거래처·은행·부서·프로젝트·아이템의 이름 검색이 느립니다. 데이터베이스 관리자가 "
                          "CREATE EXTENSION pg_trgm을 실행한 뒤 init을 다시 실행하십시오.\n(%1)")
        .arg(reason);
}

int voucherTextWidth(const QString& column)
{
    for (const Column& c : kLedgerTable.columns)
        if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c.kind == Kind::Fixed || c.kind == Kind::Varying ? c.width : 0;
    return 0;
}

QString declaredColumnName(const QString& table, const QString& column)
{
    const auto spelled = [&](const Table& t) -> QString {
        if (table.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            for (const Column& c : t.columns)
                if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
                    return QLatin1String(c.name);
        return {};
    };
    QString name = spelled(kLedgerTable);
    for (const Table& t : kMasterTables)
        if (name.isEmpty())
            name = spelled(t);
    return name.isEmpty() ? column : name;
}

QString createSchema(store::Connection& connection)
{
    QSqlDatabase db = connection.database();
    const bool transactional = connection.engine() != core::Engine::SqlServer && db.transaction();
    try {
        for (const QString& sql : schemaStatements(connection.engine()))
            connection.execNative(sql);
    } catch (...) {
        if (transactional)
            db.rollback();
        throw;
    }
    if (transactional && !db.commit()) {
        const QString text = db.lastError().text();
        db.rollback();
        throw core::DbError(text);
    }
    // Outside the transaction: a refused extension must not undo the tables.
    return createNameSearchIndexes(connection);
}

bool indexesMissing(store::Connection& connection)
{
    if (connection.engine() != core::Engine::SQLite)
        return false;
    QStringList names;
    for (const Index& index : kIndexes)
        if (index.sqlite)
            names << QStringLiteral("'%1'").arg(QLatin1String(index.name));
    const QVector<QStringList> found = connection.selectNative(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name IN (%1)").arg(names.join(u',')));
    return found.value(0).value(0).toInt() < names.size() || trailObjectsMissing(connection);
}

bool schemaExists(store::Connection& connection)
{
    QString sql;
    switch (connection.engine()) {
    case core::Engine::SQLite:
        sql = QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND lower(name) = 'account_jen_aa'");
        break;
    case core::Engine::PostgreSQL:
        // Only the schema the connection works in: tests keep one schema each.
        sql = QStringLiteral("SELECT count(*) FROM information_schema.tables "
                             "WHERE table_schema = current_schema() AND lower(table_name) = 'account_jen_aa'");
        break;
    case core::Engine::SqlServer:
        sql = QStringLiteral("SELECT CASE WHEN OBJECT_ID(N'account_jen_AA', N'U') IS NULL THEN 0 ELSE 1 END");
        break;
    }
    connection.reopenIfBroken();
    QSqlQuery q(connection.database());
    if (!q.exec(sql) || !q.next()) {
        const QSqlError error = q.lastError();
        connection.noteFailure(error);
        throw core::DbError(error.text());
    }
    return q.value(0).toInt() > 0;
}

bool keyWidthsEnforced(store::Connection& connection)
{
    // Asked once per connection: the list asks at every keystroke in the branch selector.
    // The program first asks on the worker that opens its data source ahead.
    static std::mutex knownLock;
    static std::map<QString, bool> known;
    {
        const std::lock_guard lock(knownLock);
        const auto it = known.find(connection.connectionName());
        if (it != known.end())
            return it->second;
    }

    QString sql;
    switch (connection.engine()) {
    case core::Engine::SQLite:
        sql = QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND lower(name) = 'account_jen_aa' "
                             "AND sql LIKE '%%1%'")
                  .arg(QLatin1String(kKeyWidthsCheck));
        break;
    case core::Engine::PostgreSQL:
        // char(n) and varchar(n) refuse longer texts (char also drops its padding when joined).
        // Read from the catalogue itself: information_schema's view of it
        // costs a new session some ten milliseconds at start-up.
        sql = QStringLiteral("SELECT count(*) FROM pg_catalog.pg_attribute a "
                             "JOIN pg_catalog.pg_class c ON c.oid = a.attrelid "
                             "WHERE c.relnamespace = current_schema()::regnamespace AND lower(c.relname) = 'account_jen_aa' "
                             "AND a.attnum > 0 AND NOT a.attisdropped "
                             "AND a.atttypid IN ('bpchar'::regtype, 'varchar'::regtype) AND ("
                             "(lower(a.attname) = 'date_day' AND a.atttypmod - 4 BETWEEN 0 AND 10) OR "
                             "(lower(a.attname) = 'kubun_bon' AND a.atttypmod - 4 BETWEEN 0 AND 5))");
        break;
    case core::Engine::SqlServer:
        return false; // not measured there: the list keeps its plain statement
    }
    connection.reopenIfBroken();
    QSqlQuery q(connection.database());
    if (!q.exec(sql) || !q.next()) {
        const QSqlError error = q.lastError();
        connection.noteFailure(error);
        throw core::DbError(error.text());
    }
    const bool enforced = q.value(0).toInt() == (connection.engine() == core::Engine::SQLite ? 1 : 2);
    if (enforced || schemaExists(connection)) {
        const std::lock_guard lock(knownLock);
        known[connection.connectionName()] = enforced;
    }
    return enforced;
}

} // namespace schema
