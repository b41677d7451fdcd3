#include "datasource.h"

#include "core/errors.h"
#include "schema.h"
#include "store/privatefiles.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <memory>

#include <unistd.h>

#include <sql.h>
#include <sqlext.h>

namespace schema {

namespace {

// A first start that failed while the demo data went in (older versions made
// the tables first and filled them afterwards): the tables are there but no
// branch and no voucher. A file holding any voucher is never taken for one.
bool halfMade(store::Connection& connection)
{
    // EXISTS stops at the first row: a count would read a large ledger at every start.
    const QVector<QStringList> found = connection.selectNative(
        QStringLiteral("SELECT NOT EXISTS (SELECT 1 FROM kubun_table) AND NOT EXISTS (SELECT 1 FROM account_jen_AA)"));
    return found.value(0).value(0) == QLatin1String("1");
}

void removeFiles(const QStringList& files)
{
    for (const QString& file : files)
        QFile::remove(file);
}

// Makes the file whole or not at all: the tables and the demo data go into a
// file beside it, which takes the file's name only once complete. A failure
// (a full disk) leaves nothing behind, so the next start begins afresh.
void createWhole(const QString& path)
{
    const QString part = path + QStringLiteral(".part");
    removeFiles(store::embeddedFiles(part)); // what a start that died half-way left
    try {
        if (!store::createPrivateFile(part))
            throw core::DbError(core::systemErrorText());
        {
            auto connection = store::Connection::openSqlite(part);
            createSchema(*connection);
            loadDemoData(*connection);
            // Folds the log into the file, so that the one file is complete.
            connection->execNative(QStringLiteral("PRAGMA journal_mode=DELETE"));
        }
        if (!QFile::rename(part, path)) {
            if (!QFileInfo::exists(path)) // else another process made it meanwhile
                throw core::DbError(QStringLiteral("%1의 이름을 바꿀 수 없습니다.").arg(part));
            removeFiles(store::embeddedFiles(part));
        }
    } catch (const core::AppError& error) {
        removeFiles(store::embeddedFiles(part));
        throw core::DbError(QStringLiteral("데이터 파일 %1을(를) 만들지 못했습니다: %2\n"
                                     "디스크의 빈 공간과 권한을 확인한 뒤 프로그램을 다시 시작하십시오.")
                          .arg(QDir::toNativeSeparators(path), error.text()));
    }
}

} // namespace

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

std::unique_ptr<store::Connection> resolveAccount()
{
    const QString name = QString::fromLatin1(kDataSourceName);
    if (odbcDataSourceExists(name))
        return store::Connection::odbcOpenedOnFirstUse(name); // its errors reach the clerk; no fallback
    return embeddedOpenedOnFirstUse(defaultSqlitePath());
}

std::unique_ptr<store::Connection> embeddedOpenedOnFirstUse(const QString& path)
{
    auto connection = store::Connection::sqliteOpenedOnFirstUse(path);
    // Before every opening: the private folder, a file made whole when it is
    // missing, and read-only where the clerk may not write.
    connection->setBeforeOpening([path](store::Connection& c) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!store::makePrivateFolder(folder))
            throw core::DbError(QStringLiteral("데이터 폴더를 만들 수 없습니다: %1").arg(folder));
        if (!QFileInfo::exists(path))
            createWhole(path);
        const bool fileWritable = ::access(QFile::encodeName(path).constData(), W_OK) == 0;
        const bool folderWritable = ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
        const bool writable = fileWritable && folderWritable;
        // The user's own files, made readable by others or left read-only by a
        // read-only run, are set right before SQLite opens them.
        for (const QString& file : store::embeddedFiles(path))
            store::keepPrivate(file, writable && file != path);
        c.setSqliteReadOnly(!writable);
        if (writable) {
            c.setReadOnlyNotice(QString());
            return;
        }
        const QString refused = fileWritable ? QStringLiteral("데이터 폴더 %1").arg(QDir::toNativeSeparators(folder))
                                             : QStringLiteral("데이터 파일 %1").arg(QDir::toNativeSeparators(
                                                   QFileInfo(path).absoluteFilePath()));
        c.setReadOnlyNotice(QStringLiteral("전표를 저장할 수 없습니다. %1에 쓸 권한이 없어 읽기 전용으로 열었습니다. "
                                           "전표 조회와 검색은 됩니다. 쓰기 권한을 받은 뒤 프로그램을 다시 시작하십시오.")
                                .arg(refused));
    });
    connection->addAfterOpening([](store::Connection& opened) {
        if (!opened.readOnlyNotice().isEmpty())
            return;
        if (!schemaExists(opened)) {
            // A file that holds no tables (made empty by hand).
            createSchema(opened);
            loadDemoData(opened);
        } else if (halfMade(opened)) {
            loadDemoData(opened); // one transaction: whole or nothing again
        } else if (indexesMissing(opened)) {
            createSchema(opened); // adds the missing indexes and trail tables; tables there stay as they are
        }
    });
    return connection;
}

std::unique_ptr<store::Connection> openEmbedded(const QString& path)
{
    auto connection = embeddedOpenedOnFirstUse(path);
    connection->reopenIfBroken();
    return connection;
}

} // namespace schema
