#include "backupcommand.h"

#include "sqlutil.h"

#include "app/errors.h"
#include "store/datasource.h"
#include "store/privatefiles.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <sqlite3.h>

namespace {

constexpr int kBusyWaitMs = 5000;
constexpr int kBusyTries = 100;

// The embedded file a target names; empty for a server data source.
QString sqliteFileOf(const TargetChoice& choice)
{
    if (!choice.sqlitePath.isEmpty())
        return choice.sqlitePath;
    if (choice.odbc || store::odbcDataSourceExists(QString::fromLatin1(store::kDataSourceName)))
        return {};
    return store::defaultSqlitePath();
}

class SqliteFile {
public:
    SqliteFile(const QString& path, int flags)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
        if (rc != SQLITE_OK)
            throw AppError(QStringLiteral("%1을(를) 열 수 없습니다: %2").arg(path, QString::fromUtf8(sqlite3_errstr(rc))));
        sqlite3_busy_timeout(m_db, kBusyWaitMs);
    }
    ~SqliteFile() { sqlite3_close_v2(m_db); }
    sqlite3* handle() const { return m_db; }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(m_db)); }

    // The first column of the first row of a query.
    QString value(const char* sql) const
    {
        sqlite3_stmt* statement = nullptr;
        QString result;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return result;
    }

private:
    sqlite3* m_db = nullptr;
};

// One step over all pages reads the source in one read transaction: a
// snapshot of one moment, which a writer beside it does not disturb (WAL).
void copyPages(const SqliteFile& from, const SqliteFile& to)
{
    sqlite3_backup* backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
    if (!backup)
        throw AppError(QStringLiteral("백업을 시작할 수 없습니다: %1").arg(to.error()));
    int rc = SQLITE_OK;
    for (int tries = 0; tries < kBusyTries; ++tries) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        QThread::msleep(100);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw AppError(QStringLiteral("백업하지 못했습니다: %1").arg(QString::fromUtf8(sqlite3_errstr(rc))));
}

} // namespace

int runBackup(const TargetChoice& choice, const QString& file)
{
    const QString source = sqliteFileOf(choice);
    if (source.isEmpty())
        throw AppError(QStringLiteral("서버 데이터 원본은 서버의 백업 도구로 백업하십시오 (예: pg_dump)."));
    if (!QFileInfo::exists(source))
        throw AppError(QStringLiteral("데이터 파일이 없습니다: %1").arg(source));
    if (QFileInfo::exists(file))
        throw AppError(QStringLiteral("백업 파일이 이미 있습니다: %1 (다른 이름을 주십시오)").arg(file));
    say(QStringLiteral("원본: SQLite 파일 %1").arg(source));

    // Written beside its name and renamed when whole and sound.
    const QString partial = file + QStringLiteral(".part");
    QFile::remove(partial);
    if (!store::createPrivateFile(partial))
        throw AppError(QStringLiteral("파일을 만들 수 없습니다: %1").arg(partial));
    try {
        const SqliteFile from(source, SQLITE_OPEN_READWRITE); // read only; the log's index needs writing
        const SqliteFile to(partial, SQLITE_OPEN_READWRITE);
        copyPages(from, to);
        const QString integrity = to.value("PRAGMA integrity_check");
        if (integrity != QLatin1String("ok"))
            throw AppError(QStringLiteral("백업 파일 검사에 실패했습니다: %1").arg(integrity));
        say(QStringLiteral("  account_jen_AA %1행, test_ac_code %2행")
                .arg(to.value("SELECT count(*) FROM account_jen_AA"), to.value("SELECT count(*) FROM test_ac_code")));
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (!QFile::rename(partial, file)) {
        QFile::remove(partial);
        throw AppError(QStringLiteral("백업 파일을 %1(으)로 옮길 수 없습니다.").arg(file));
    }
    say(QStringLiteral("백업했습니다: %1 (%2바이트)").arg(file).arg(QFileInfo(file).size()));
    return 0;
}
