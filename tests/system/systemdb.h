#pragma once

#include "store/connection.h"
#include "testdb.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

// One fresh database of the engine a data row names ("sqlite" or
// "postgres"), with the schema and the demo master data: a SQLite file of its
// own or a PostgreSQL schema of its own, dropped again when the object goes.
class SystemDb {
public:
    explicit SystemDb(const QString& engine, bool demoData = true);
    ~SystemDb();

    store::Connection& connection() { return *m_connection; }
    bool isPostgres() const { return !m_schema.isEmpty(); }
    QString sqlitePath() const;
    QString schema() const { return m_schema; }
    // Another connection to the same data, as another workstation has.
    std::unique_ptr<store::Connection> attach() const;

private:
    QTemporaryDir m_dir;
    QString m_schema;
    std::unique_ptr<store::Connection> m_connection;
};

// A row of account_jen_AA as other programs may have written it: the given
// key columns, the rest in the window's form. Throws DbError.
struct RawRow {
    QString serialJen;
    QString serialBun = QStringLiteral("01");
    QString serialCrDr = QStringLiteral("01");
    QString date;
    QString branch = QStringLiteral("00000");
    QString kubunJen = QStringLiteral("2");
    QString form = QStringLiteral("A002");
    QString acText = QStringLiteral("적요");
    double amount = 1000;
};
void insertRawRow(store::Connection& c, const RawRow& row);

// Native statement; throws DbError.
QVariantList selectOne(store::Connection& c, const QString& sql);

// The data-driven column "engine" with one row per engine.
void addEngineRows();

// Opens the row's database as `db`, skipping (or failing, when required)
// the PostgreSQL row where there is no server.
#define OPEN_SYSTEM_DB(db)                     \
    QFETCH(QString, engine);                   \
    if (engine == QLatin1String("postgres"))   \
        REQUIRE_POSTGRES();                    \
    SystemDb db(engine)
