#include "backupcommand.h"

#include "progress.h"
#include "sqlutil.h"

#include "core/errors.h"
#include "schema/ownschema.h"
#include "shell/singleinstance.h"
#include "store/dailybackups.h"
#include "store/onlinebackup.h"
#include "store/privatefiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>
#include <optional>

#include <unistd.h>

namespace admin {

namespace {

QString embeddedFileOrRefuse(const TargetChoice& choice, const QString& action)
{
    const QString file = sqliteFileOf(choice);
    if (file.isEmpty())
        throw core::AppError(QStringLiteral("서버 데이터 원본은 서버의 도구로 %1하십시오 (예: pg_dump, pg_restore).").arg(action));
    return file;
}

void sayCounts(const store::BackupSummary& s)
{
    say(QStringLiteral("  account_jen_AA %1행, test_ac_code %2행").arg(s.voucherRows).arg(s.accounts));
}

// A backup carrying objects of its own (a trigger that changes every later
// row, say) would keep working in the restored books unseen by `check`.
void requireOwnSchema(const QString& backup)
{
    const QStringList foreign = schema::foreignSchemaObjects(backup);
    if (!foreign.isEmpty())
        throw core::AppError(QStringLiteral("%1에는 프로그램이 만들지 않은 것이 들어 있어 복원하지 않습니다: %2")
                           .arg(backup, foreign.join(QStringLiteral(", "))));
}

QString rowCount(qint64 rows)
{
    return QLocale(QLocale::English).toString(rows); // 193,700
}

qint64 voucherRowsOf(const QString& file)
{
    try {
        auto c = store::Connection::openSqlite(file, true);
        return countRows(*c, QStringLiteral("account_jen_AA"));
    } catch (const core::DbError&) {
        return 0; // not a file of vouchers: none are replaced
    }
}

// A restore replaces the books whole: a person at a terminal says yes to the
// numbers first, and a script must say so (--yes) rather than restore by accident.
void confirmRestore(const QString& target, const store::BackupSummary& incoming, bool yes)
{
    if (yes)
        return;
    if (!::isatty(STDIN_FILENO))
        throw core::AppError(QStringLiteral("복원은 지금의 장부를 통째로 바꿉니다. 터미널 없이 실행할 때는 --yes를 붙이십시오."));
    const QString rows = rowCount(incoming.voucherRows);
    const QString change = QFileInfo::exists(target)
                               ? QStringLiteral("account_jen_AA %1행을 %2행으로 바꿉니다.").arg(rowCount(voucherRowsOf(target)), rows)
                               : QStringLiteral("새 파일에 account_jen_AA %1행을 되살립니다.").arg(rows);
    QTextStream out(stdout);
    out << change << QStringLiteral(" 계속할까요? [y/N] ") << Qt::flush;
    const QString answer = QTextStream(stdin).readLine().trimmed().toLower();
    if (answer != QLatin1String("y") && answer != QLatin1String("yes"))
        throw core::AppError(QStringLiteral("복원하지 않았습니다. 아무것도 바뀌지 않았습니다."));
}

// The books a restore replaces are backed up first, beside the daily
// backups and named by the moment, so that a wrong backup can be undone.
void keepReplacedBooks(const QString& target)
{
    if (!QFileInfo::exists(target)) {
        say(QStringLiteral("%1은(는) 아직 없어 먼저 백업할 장부가 없습니다.").arg(target));
        if (!store::makePrivateFolder(QFileInfo(target).absolutePath())) // a new workstation's first restore
            throw core::AppError(QStringLiteral("데이터 폴더를 만들 수 없습니다: %1").arg(QFileInfo(target).absolutePath()));
        return;
    }
    const QString folder = store::dailyBackupFolder(target);
    const QString stem = QDir(folder).filePath(QStringLiteral("%1-before-restore-%2")
                                                   .arg(QFileInfo(target).completeBaseName(),
                                                        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"))));
    // A second restore within the same second keeps its copy too.
    QString copy = stem + QStringLiteral(".db");
    for (int n = 2; QFileInfo::exists(copy); ++n)
        copy = QStringLiteral("%1-%2.db").arg(stem).arg(n);
    try {
        if (!store::makePrivateFolder(folder))
            throw core::AppError(QStringLiteral("백업 폴더를 만들 수 없습니다: %1").arg(folder));
        store::backupSqliteFile(target, copy);
    } catch (const core::AppError& e) {
        throw core::AppError(QStringLiteral("바뀔 장부를 먼저 백업하지 못해 복원하지 않았습니다: %1").arg(e.text()));
    }
    say(QStringLiteral("바뀔 장부를 먼저 백업했습니다: %1").arg(copy));
}

} // namespace

int runBackup(const TargetChoice& choice, const QString& file)
{
    const QString source = embeddedFileOrRefuse(choice, QStringLiteral("백업"));
    say(QStringLiteral("원본: SQLite 파일 %1").arg(source));
    std::optional<Progress> progress; // the pages are known once the copy began
    const store::BackupSummary s = store::backupSqliteFile(source, file, nullptr, false, [&](qint64 copied, qint64 pages) {
        if (!progress)
            progress.emplace(QStringLiteral("백업"), pages, QStringLiteral("페이지"));
        progress->advanceTo(copied);
    });
    progress.reset();
    sayCounts(s);
    say(QStringLiteral("백업했습니다: %1 (%2바이트)").arg(file).arg(s.bytes));
    return 0;
}

int runRestore(const TargetChoice& choice, const QString& file, bool yes)
{
    const QString target = embeddedFileOrRefuse(choice, QStringLiteral("복원"));
    say(QStringLiteral("대상: SQLite 파일 %1").arg(target));
    // The program's own guard, held while the pages are copied: a program
    // started meanwhile finds that a restore holds it and tells the clerk.
    shell::SingleInstance guard(QStringLiteral("voucher"));
    if (!guard.claimForRestore())
        throw core::AppError(QStringLiteral("출금 전표 프로그램이 실행 중입니다. 프로그램을 닫은 뒤에 복원하십시오."));
    if (store::sqliteFileInUse(target))
        throw core::AppError(QStringLiteral("다른 프로그램이 %1을(를) 열어 두고 있습니다. 그 프로그램을 닫은 뒤에 복원하십시오.")
                           .arg(target));
    const store::BackupSummary s = store::restoreSqliteFile(file, target, [&](const QString& sound, const store::BackupSummary& incoming) {
        requireOwnSchema(sound);
        confirmRestore(target, incoming, yes);
        keepReplacedBooks(target);
    });
    store::keepPrivate(target); // a file the restore made is SQLite's 0644
    sayCounts(s);
    say(QStringLiteral("복원했습니다: %1 → %2").arg(file, target));
    return 0;
}

} // namespace admin
