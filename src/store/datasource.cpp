#include "datasource.h"

#include "app/errors.h"
#include "schema.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
        return Connection::openOdbc(name); // its errors reach the clerk; no fallback
    return openEmbedded(defaultSqlitePath());
}

std::unique_ptr<Connection> openEmbedded(const QString& path)
{
    const bool fresh = !QFileInfo::exists(path);
    if (fresh && !QDir().mkpath(QFileInfo(path).absolutePath()))
        throw DbError(QStringLiteral("데이터 폴더를 만들 수 없습니다: %1").arg(QFileInfo(path).absolutePath()));
    auto connection = Connection::openSqlite(path);
    if (fresh || !schemaExists(*connection)) {
        createSchema(*connection);
        loadDemoData(*connection);
    } else if (indexesMissing(*connection)) {
        createSchema(*connection); // adds the missing indexes; tables stay as they are
    }
    return connection;
}

} // namespace store
