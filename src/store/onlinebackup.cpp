#include "onlinebackup.h"

#include "core/errors.h"
#include "gzipfile.h"
#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

namespace store {

namespace {

constexpr int kBusyWaitMs = 5000;
constexpr int kBusyTries = 100;

// The locks SQLite's unix file system layer takes in the log's index: eight
// lock bytes from offset 120 and, at 128, the byte every open connection
// holds shared.
constexpr off_t kShmLockOffset = 120;
constexpr off_t kShmLockBytes = 9;

// Pages copied between two looks at a cancel flag (4 MB of 4 kB pages).
constexpr int kPagesPerStep = 1024;
// SQLite's virtual machine instructions between two looks at it while
// checking the copy.
constexpr int kInstructionsPerLook = 100000;

class SqliteFile {
public:
    SqliteFile(const QString& path, int flags)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
        if (rc != SQLITE_OK)
            throw core::AppError(QStringLiteral("%1을(를) 열 수 없습니다: %2").arg(path, QString::fromUtf8(sqlite3_errstr(rc))));
        sqlite3_busy_timeout(m_db, kBusyWaitMs);
        if (flags & SQLITE_OPEN_READWRITE) // a restore's pages reach the disk before it says so
            sqlite3_exec(m_db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    }
    ~SqliteFile() { sqlite3_close_v2(m_db); }
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;
    sqlite3* handle() const { return m_db; }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(m_db)); }

    // The first column of the first row of a query; empty when it fails.
    QString value(const char* sql) const
    {
        sqlite3_stmt* statement = nullptr;
        QString result;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return result;
    }

    void requireSound(const QString& path) const
    {
        const QString integrity = value("PRAGMA integrity_check");
        if (integrity != QLatin1String("ok"))
            throw core::AppError(QStringLiteral("%1 검사에 실패했습니다: %2").arg(path, integrity.isEmpty() ? error() : integrity));
    }

    BackupSummary summary(const QString& path) const
    {
        BackupSummary s;
        s.voucherRows = value("SELECT count(*) FROM account_jen_AA").toLongLong();
        s.accounts = value("SELECT count(*) FROM test_ac_code").toLongLong();
        s.bytes = QFileInfo(path).size();
        return s;
    }

private:
    sqlite3* m_db = nullptr;
};

// Without a cancel flag, one step over all pages reads the source in one
// read transaction and writes the destination in one write transaction: a
// snapshot of one moment, which a writer beside it does not disturb (WAL),
// written whole or not at all. With one, the copy goes kPagesPerStep pages at
// a time; a write to the source between steps makes SQLite start it again,
// so the result is still one moment's database.
void copyPages(const SqliteFile& from, const SqliteFile& to, const std::atomic<bool>* cancel,
               const BackupProgress& progress = {})
{
    sqlite3_backup* backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
    if (!backup)
        throw core::AppError(QStringLiteral("백업을 시작할 수 없습니다: %1").arg(to.error()));
    const int pages = cancel || progress ? kPagesPerStep : -1;
    int rc = SQLITE_OK;
    for (int tries = 0; tries < kBusyTries;) {
        if (cancel && cancel->load())
            break;
        rc = sqlite3_backup_step(backup, pages);
        if (progress && (rc == SQLITE_OK || rc == SQLITE_DONE)) {
            const int all = sqlite3_backup_pagecount(backup);
            progress(all - sqlite3_backup_remaining(backup), all);
        }
        if (rc == SQLITE_OK)
            continue;
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        ++tries;
        QThread::msleep(100);
    }
    sqlite3_backup_finish(backup);
    if (cancel && cancel->load())
        throw core::AppError(QStringLiteral("백업을 그만두었습니다."));
    if (rc != SQLITE_DONE)
        throw core::AppError(QStringLiteral("복사하지 못했습니다: %1").arg(QString::fromUtf8(sqlite3_errstr(rc))));
}

} // namespace

BackupSummary backupSqliteFile(const QString& source, const QString& target, const std::atomic<bool>* cancel,
                               bool compressed, const BackupProgress& progress)
{
    if (!QFileInfo::exists(source))
        throw core::AppError(QStringLiteral("데이터 파일이 없습니다: %1").arg(source));
    refuseForeignName(target);
    if (QFileInfo::exists(target))
        throw core::AppError(QStringLiteral("백업 파일이 이미 있습니다: %1 (다른 이름을 주십시오)").arg(target));
    // The copy, its journal and its compressed form are made in a private
    // folder beside the target: nobody else can have prepared their names.
    const PrivateWorkFolder work(target);
    const QString copy = work.filePath(QStringLiteral("copy.db"));
    if (!createPrivateFile(copy))
        throw core::AppError(QStringLiteral("파일을 만들 수 없습니다: %1").arg(copy));
    BackupSummary summary;
    {
        const SqliteFile from(source, SQLITE_OPEN_READWRITE); // read only; the log's index needs writing
        const SqliteFile to(copy, SQLITE_OPEN_READWRITE);
        // Only the compressed form is kept, and it is synced to the disk: a
        // sync of the plain copy would flush a gigabyte at once, and the
        // clerk's save, which syncs its own log meanwhile, waited behind it.
        if (compressed)
            sqlite3_exec(to.handle(), "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
        if (cancel) // the check of a large copy stops too
            sqlite3_progress_handler(to.handle(), kInstructionsPerLook,
                                     [](void* flag) { return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0; },
                                     const_cast<std::atomic<bool>*>(cancel));
        copyPages(from, to, cancel, progress);
        to.requireSound(target);
        if (cancel && cancel->load())
            throw core::AppError(QStringLiteral("백업을 그만두었습니다."));
        summary = to.summary(copy);
    }
    QString made = copy;
    if (compressed) {
        made = work.filePath(QStringLiteral("copy.db.gz"));
        gzipFile(copy, made, cancel);
    }
    moveIntoPlace(made, target, ExistingName::Refuse);
    summary.bytes = QFileInfo(target).size();
    return summary;
}

bool sqliteFileInUse(const QString& path)
{
    // Opened and closed here only: closing a descriptor lets go of every lock
    // this process holds on the file, so never call it with a connection open.
    const int fd = ::open(QFile::encodeName(path + QStringLiteral("-shm")).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false; // no index: no connection in WAL mode
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = kShmLockOffset;
    probe.l_len = kShmLockBytes;
    const bool held = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

BackupSummary restoreSqliteFile(const QString& backup, const QString& target,
                                const std::function<void(const QString& sound, const BackupSummary& counts)>& beforeWriting)
{
    if (isGzipFile(backup)) { // a daily backup: restored from its expanded copy, which goes when done
        const PrivateWorkFolder work(target);
        const QString expanded = work.filePath(QFileInfo(backup).completeBaseName());
        gunzipFile(backup, expanded);
        return restoreSqliteFile(expanded, target, beforeWriting);
    }
    if (!QFileInfo::exists(backup))
        throw core::AppError(QStringLiteral("백업 파일이 없습니다: %1").arg(backup));
    const SqliteFile from(backup, SQLITE_OPEN_READONLY);
    from.requireSound(backup);
    if (from.value("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'account_jen_AA'") != QLatin1String("1"))
        throw core::AppError(QStringLiteral("%1은(는) 전표 데이터 파일이 아닙니다 (account_jen_AA가 없습니다).").arg(backup));
    if (beforeWriting)
        beforeWriting(backup, from.summary(backup));
    const SqliteFile to(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    copyPages(from, to, nullptr);
    to.requireSound(target);
    return to.summary(target);
}

} // namespace store
