#include "target.h"

#include "core/errors.h"
#include "schema/datasource.h"
#include "store/privatefiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace admin {

namespace {

std::unique_ptr<store::Connection> openSqliteFile(const QString& path, bool* created)
{
    *created = !QFileInfo::exists(path);
    // A new folder is made private; one that exists is the administrator's
    // choice and keeps its mode (closing /tmp would lock every other user out).
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir() && !store::makePrivateFolder(folder))
        throw core::AppError(QStringLiteral("폴더를 만들 수 없습니다: %1").arg(folder));
    if (!store::createPrivateFile(path))
        throw core::AppError(QStringLiteral("파일을 만들 수 없습니다: %1").arg(path));
    return store::Connection::openSqlite(path);
}

// One schema of a server database (a test's, or a company's among several).
void useSchema(store::Connection& connection, const QString& schema)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!name.match(schema).hasMatch())
        throw core::AppError(QStringLiteral("스키마 이름이 올바르지 않습니다: %1").arg(schema));
    if (connection.engine() != core::Engine::PostgreSQL)
        throw core::AppError(QStringLiteral("--schema는 PostgreSQL 데이터 원본에서만 쓸 수 있습니다."));
    // The server accepts a search path naming no schema and answers each
    // statement after it in English: say it once, here.
    const QString exists = QStringLiteral("SELECT count(*) FROM pg_namespace WHERE nspname = '%1'").arg(schema.toLower());
    if (connection.selectNative(exists).value(0).value(0) != QLatin1String("1"))
        throw core::AppError(QStringLiteral("스키마 %1이(가) 데이터베이스에 없습니다. 이름을 확인하거나 서버 관리자에게 만들어 달라고 하십시오 "
                                      "(CREATE SCHEMA %1).")
                           .arg(schema));
    connection.addSessionSetting(QStringLiteral("SET search_path TO %1").arg(schema));
}

} // namespace

OpenedTarget openTarget(const TargetChoice& choice, store::Connection::ResultReading reading)
{
    OpenedTarget target;
    const QString dsn = QString::fromLatin1(schema::kDataSourceName);
    if (!choice.sqlitePath.isEmpty()) {
        target.connection = openSqliteFile(choice.sqlitePath, &target.createdFile);
    } else if (choice.odbc || schema::odbcDataSourceExists(dsn)) {
        if (!schema::odbcDataSourceExists(dsn))
            throw core::AppError(QStringLiteral("ODBC 데이터 원본 %1이(가) 등록되어 있지 않습니다.").arg(dsn));
        target.connection = store::Connection::openOdbc(dsn, reading);
        if (!choice.schema.isEmpty())
            useSchema(*target.connection, choice.schema);
    } else {
        // The program's own fallback: the SQLite file in the user's data folder.
        target.connection = openSqliteFile(schema::defaultSqlitePath(), &target.createdFile);
    }
    return target;
}

QString sqliteFileOf(const TargetChoice& choice)
{
    if (!choice.sqlitePath.isEmpty())
        return choice.sqlitePath;
    if (choice.odbc || schema::odbcDataSourceExists(QString::fromLatin1(schema::kDataSourceName)))
        return {};
    return schema::defaultSqlitePath();
}

} // namespace admin
