#pragma once

#include "store/connection.h"
#include "testdb.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

// One fresh database of the engine a data row names ("sqlite" or
// "postgres"): a SQLite file of its own or a PostgreSQL schema of its own,
// dropped again when the object goes.
class EngineDb {
public:
    explicit EngineDb(const QString& engine, bool demoData = true);
    virtual ~EngineDb();
    EngineDb(const EngineDb&) = delete;
    EngineDb& operator=(const EngineDb&) = delete;

    // The program's data source once the object became it.
    store::Connection& connection() { return m_owned ? *m_owned : store::Connection::account(); }
    // A second connection to the same data, as another workstation has.
    std::unique_ptr<store::Connection> attach() const;
    bool isPostgres() const { return !m_schema.isEmpty(); }
    QString sqlitePath() const;
    QString schema() const { return m_schema; }

protected:
    // Hands the connection to the program as its data source
    // (Connection::account()) until the object goes.
    void becomeAccount();

private:
    QTemporaryDir m_dir;
    QString m_schema;
    std::unique_ptr<store::Connection> m_owned; // empty once it became the account
};

// The program's data source for one test: a fresh database of the engine
// with the demo master data, set as Connection::account() for the test's
// lifetime.
class TestAccount : public EngineDb {
public:
    explicit TestAccount(const QString& engine) : EngineDb(engine) { becomeAccount(); }
};

// A test class run once per engine (ENGINE_CLASS_TEST_MAIN): a fresh
// database of the engine is the program's data source for the whole class.
class EngineClassTest : public QObject {
    Q_OBJECT
public:
    explicit EngineClassTest(bool postgres) : m_postgres(postgres) {}
    ~EngineClassTest() override;

private slots:
    void initTestCase();
    void cleanupTestCase();

protected:
    // The class's database; set from initTestCase on.
    TestAccount& account() { return *m_account; }
    const bool m_postgres;

private:
    std::unique_ptr<TestAccount> m_account;
};

// Runs native SQL on the connection; fails the test on an error.
void execSql(store::Connection& c, const QString& sql);

// The first row of a native statement. Throws DbError.
QVariantList selectOne(store::Connection& c, const QString& sql);

// The data column "engine" with one row per engine: "sqlite" and "postgres".
void addEngines();

// addEngines(), and each engine again behind a driver that reports the rows
// a write changed as unknown (bool column countsUnknown).
void addEnginesAndRowCounts();

// A test program's main running a test class (constructed with `bool
// postgres`) once on SQLite and once on PostgreSQL.
#define ENGINE_CLASS_TEST_MAIN(TestClass, Application)                          \
    int main(int argc, char** argv)                                              \
    {                                                                            \
        Application app(argc, argv);                                             \
        TestClass onSqlite(false);                                               \
        TestClass onPostgres(true);                                              \
        return QTest::qExec(&onSqlite, argc, argv) + QTest::qExec(&onPostgres, argc, argv); \
    }

// In a test run by addEngines(): fetches `engine` and skips (or, in the test
// suite, fails) the PostgreSQL row when that server is not there.
#define FETCH_ENGINE()                       \
    QFETCH(QString, engine);                 \
    if (engine == QLatin1String("postgres")) \
        REQUIRE_POSTGRES()

// In a test run by addEnginesAndRowCounts(): makes the connection report
// its write counts as the row's driver does.
#define FETCH_ROW_COUNTS(connection)   \
    QFETCH(bool, countsUnknown);       \
    (connection).setRowCountsUnknown(countsUnknown)

// FETCH_ENGINE(), then opens the row's database as `db`.
#define OPEN_ENGINE_DB(db, demoData) \
    FETCH_ENGINE();                  \
    EngineDb db(engine, demoData)
