#include "enginedb.h"

#include <QDir>
#include <QTest>

EngineDb::EngineDb(const QString& engine, bool demoData) : m_engine(engine)
{
    if (isPostgres())
        m_connection = testdb::postgres(demoData, &m_schema);
    else
        m_connection = testdb::sqlite(m_dir, demoData);
}

EngineDb::~EngineDb()
{
    m_connection.reset();
    if (!m_schema.isEmpty()) {
        try {
            testdb::dropPostgresSchema(m_schema);
        } catch (...) {
            qWarning("could not drop test schema %s", qPrintable(m_schema));
        }
    }
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

void addEngineRows()
{
    QTest::addColumn<QString>("engine");
    QTest::newRow("sqlite") << QStringLiteral("sqlite");
    QTest::newRow("postgres") << QStringLiteral("postgres");
}
