#include "datasource.h"

#include "app/errors.h"
#include "schema.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <memory>

#include <sql.h>
#include <sqlext.h>

namespace store {

bool odbcDataSourceExists(const QString& name)
{
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return false;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    bool found = false;
    SQLCHAR dsn[SQL_MAX_DSN_LENGTH + 1];
    SQLCHAR description[512];
    SQLSMALLINT dsnLength = 0;
    SQLSMALLINT descriptionLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDataSources(env, direction, dsn, sizeof dsn, &dsnLength, description,
                                       sizeof description, &descriptionLength))) {
        direction = SQL_FETCH_NEXT;
        if (QString::fromLocal8Bit(reinterpret_cast<const char*>(dsn)).compare(name, Qt::CaseInsensitive) == 0) {
            found = true;
            break;
        }
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return found;
}

QString defaultSqlitePath()
{
    // A fixed folder name rather than the executable's, so that the program
    // and voucher-admin meet in the same file (~/.local/share/voucher).
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir(base).filePath(QStringLiteral("voucher/Account.db"));
}

std::unique_ptr<Connection> resolveAccount()
{
    const QString name = QString::fromLatin1(kDataSourceName);
    if (odbcDataSourceExists(name))
        return Connection::odbcOpenedOnFirstUse(name); // its errors reach the clerk; no fallback
    return embeddedOpenedOnFirstUse(defaultSqlitePath());
}

std::unique_ptr<Connection> embeddedOpenedOnFirstUse(const QString& path)
{
    auto connection = Connection::sqliteOpenedOnFirstUse(path);
    // Whether this opening makes the file, learnt before the engine makes it.
    auto fresh = std::make_shared<bool>(false);
    connection->setBeforeOpening([path, fresh](Connection&) {
        *fresh = !QFileInfo::exists(path);
        if (*fresh && !QDir().mkpath(QFileInfo(path).absolutePath()))
            throw DbError(QStringLiteral("데이터 폴더를 만들 수 없습니다: %1").arg(QFileInfo(path).absolutePath()));
    });
    connection->addAfterOpening([fresh](Connection& opened) {
        if (*fresh || !schemaExists(opened)) {
            createSchema(opened);
            loadDemoData(opened);
        } else if (indexesMissing(opened)) {
            createSchema(opened); // adds the missing indexes; tables stay as they are
        }
    });
    return connection;
}

std::unique_ptr<Connection> openEmbedded(const QString& path)
{
    auto connection = embeddedOpenedOnFirstUse(path);
    connection->reopenIfBroken();
    return connection;
}

} // namespace store
