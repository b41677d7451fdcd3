#include "backupcommand.h"

#include "sqlutil.h"

#include "core/errors.h"
#include "shell/singleinstance.h"
#include "store/onlinebackup.h"

namespace {

QString embeddedFileOrRefuse(const TargetChoice& choice, const QString& action)
{
    const QString file = sqliteFileOf(choice);
    if (file.isEmpty())
        throw AppError(QStringLiteral("서버 데이터 원본은 서버의 도구로 %1하십시오 (예: pg_dump, pg_restore).").arg(action));
    return file;
}

void sayCounts(const store::BackupSummary& s)
{
    say(QStringLiteral("  account_jen_AA %1행, test_ac_code %2행").arg(s.voucherRows).arg(s.accounts));
}

} // namespace

int runBackup(const TargetChoice& choice, const QString& file)
{
    const QString source = embeddedFileOrRefuse(choice, QStringLiteral("백업"));
    say(QStringLiteral("원본: SQLite 파일 %1").arg(source));
    const store::BackupSummary s = store::backupSqliteFile(source, file);
    sayCounts(s);
    say(QStringLiteral("백업했습니다: %1 (%2바이트)").arg(file).arg(s.bytes));
    return 0;
}

int runRestore(const TargetChoice& choice, const QString& file)
{
    const QString target = embeddedFileOrRefuse(choice, QStringLiteral("복원"));
    say(QStringLiteral("대상: SQLite 파일 %1").arg(target));
    // The program's own guard, held while the pages are copied: a program
    // started meanwhile finds a running copy and ends.
    SingleInstance guard(QStringLiteral("voucher"));
    if (!guard.claim())
        throw AppError(QStringLiteral("출금 전표 프로그램이 실행 중입니다. 프로그램을 닫은 뒤에 복원하십시오."));
    if (store::sqliteFileInUse(target))
        throw AppError(QStringLiteral("다른 프로그램이 %1을(를) 열어 두고 있습니다. 그 프로그램을 닫은 뒤에 복원하십시오.")
                           .arg(target));
    const store::BackupSummary s = store::restoreSqliteFile(file, target);
    sayCounts(s);
    say(QStringLiteral("복원했습니다: %1 → %2").arg(file, target));
    return 0;
}
