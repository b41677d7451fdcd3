#pragma once

#include "store/connection.h"
#include "testdb.h"

#include <QTemporaryDir>
#include <memory>

// One fresh database of the engine a data row names ("sqlite" or
// "postgres"): a SQLite file of its own or a PostgreSQL schema of its own,
// dropped again when the object goes.
class EngineDb {
public:
    EngineDb(const QString& engine, bool demoData);
    ~EngineDb();

    store::Connection& connection() { return *m_connection; }
    // A second connection to the same data, as another workstation has.
    std::unique_ptr<store::Connection> attach() const;
    bool isPostgres() const { return m_engine == QLatin1String("postgres"); }
    QString sqlitePath() const;
    QString schema() const { return m_schema; }

private:
    QString m_engine;
    QTemporaryDir m_dir;
    QString m_schema;
    std::unique_ptr<store::Connection> m_connection;
};

// The "engine" column with one row per engine, for data-driven tests.
void addEngineRows();

// Opens the row's database as `db`, skipping (or failing, when required)
// the PostgreSQL row where there is no server.
#define OPEN_ENGINE_DB(db, demoData)                                       \
    QFETCH(QString, engine);                                               \
    if (engine == QLatin1String("postgres"))                               \
        REQUIRE_POSTGRES();                                                \
    EngineDb db(engine, demoData)
