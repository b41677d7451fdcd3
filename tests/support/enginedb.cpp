#include "enginedb.h"

#include "core/errors.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

EngineDb::EngineDb(const QString& engine, bool demoData)
{
    if (engine == QLatin1String("postgres"))
        m_owned = testdb::postgres(demoData, &m_schema);
    else
        m_owned = testdb::sqlite(m_dir, demoData);
}

EngineDb::~EngineDb()
{
    if (!m_owned)
        store::Connection::setAccount(nullptr);
    m_owned.reset();
    if (!m_schema.isEmpty()) {
        try {
            testdb::dropPostgresSchema(m_schema);
        } catch (...) {
            qWarning("could not drop test schema %s", qPrintable(m_schema));
        }
    }
}

void EngineDb::becomeAccount()
{
    store::Connection::setAccount(std::move(m_owned));
}

std::unique_ptr<store::Connection> EngineDb::attach() const
{
    if (isPostgres())
        return testdb::postgresAttach(m_schema);
    return store::Connection::openSqlite(sqlitePath());
}

QString EngineDb::sqlitePath() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("Account.db"));
}

EngineClassTest::~EngineClassTest() = default;

void EngineClassTest::initTestCase()
{
    if (m_postgres)
        REQUIRE_POSTGRES();
    m_account = std::make_unique<TestAccount>(m_postgres ? QStringLiteral("postgres") : QStringLiteral("sqlite"));
}

void EngineClassTest::cleanupTestCase()
{
    m_account.reset();
}

void addEngines()
{
    QTest::addColumn<QString>("engine");
    QTest::newRow("sqlite") << QStringLiteral("sqlite");
    QTest::newRow("postgres") << QStringLiteral("postgres");
}

void addEnginesAndRowCounts()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("countsUnknown");
    for (const char* engine : {"sqlite", "postgres"}) {
        QTest::newRow(engine) << QString::fromLatin1(engine) << false;
        QTest::addRow("%s, counts unknown", engine) << QString::fromLatin1(engine) << true;
    }
}

void execSql(store::Connection& c, const QString& sql)
{
    QSqlQuery q(c.database());
    if (!q.exec(sql))
        QFAIL(qPrintable(q.lastError().text()));
}

QVariantList selectOne(store::Connection& c, const QString& sql)
{
    QSqlQuery q(c.database());
    if (!q.exec(sql))
        throw core::DbError(q.lastError().text());
    QVariantList out;
    if (q.next()) {
        for (int i = 0; i < q.record().count(); ++i)
            out << q.value(i);
    }
    return out;
}
