#include "testdb.h"

#include "schema/datasource.h"
#include "schema/schema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

namespace testdb {

bool postgresRequired()
{
    return !qEnvironmentVariableIsEmpty("VOUCHER_REQUIRE_PG");
}

bool postgresAvailable()
{
    static const bool available = schema::odbcDataSourceExists(QString::fromLatin1(schema::kDataSourceName));
    return available;
}

std::unique_ptr<store::Connection> sqlite(const QTemporaryDir& dir, bool demoData, const QString& fileName)
{
    auto c = store::Connection::openSqlite(QDir(dir.path()).filePath(fileName));
    schema::createSchema(*c);
    if (demoData)
        schema::loadDemoData(*c);
    return c;
}

std::unique_ptr<store::Connection> postgresAttach(const QString& schema)
{
    auto c = store::Connection::openOdbc(QString::fromLatin1(schema::kDataSourceName));
    c->addSessionSetting(QStringLiteral("SET search_path TO %1").arg(schema)); // kept over a reconnection
    return c;
}

std::unique_ptr<store::Connection> postgres(bool demoData, QString* schema)
{
    static QAtomicInt counter;
    const QString name = QStringLiteral("t_%1_%2_%3")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QDateTime::currentMSecsSinceEpoch() % 100000000)
                             .arg(counter.fetchAndAddRelaxed(1));
    {
        auto admin = store::Connection::openOdbc(QString::fromLatin1(schema::kDataSourceName));
        admin->execNative(QStringLiteral("CREATE SCHEMA %1").arg(name));
    }
    auto c = postgresAttach(name);
    schema::createSchema(*c);
    if (demoData)
        schema::loadDemoData(*c);
    if (schema)
        *schema = name;
    return c;
}

void dropPostgresSchema(const QString& schema)
{
    auto admin = store::Connection::openOdbc(QString::fromLatin1(schema::kDataSourceName));
    admin->execNative(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(schema));
}

} // namespace testdb
