#include "initcommand.h"

#include "schema/schema.h"
#include "sqlutil.h"

#include <QMap>

namespace admin {

int runInit(const TargetChoice& choice, bool empty)
{
    OpenedTarget target = openTarget(choice);
    store::Connection& c = *target.connection;
    say(QStringLiteral("대상: %1").arg(c.describe()));

    const bool existed = schema::schemaExists(c);
    // Also adds a missing master table or index; a name search index the
    // server refuses leaves a notice, never a failed init.
    const QString notice = schema::createSchema(c);
    QMap<QString, qint64> before;
    for (const QString& table : masterTables())
        before[table] = countRows(c, table);
    if (empty)
        schema::addProgramRows(c);
    else
        schema::loadDemoData(c);

    if (target.createdFile)
        say(QStringLiteral("새 SQLite 파일을 만들었습니다."));
    say(existed ? QStringLiteral("전표 테이블 account_jen_AA가 이미 있습니다; 빠진 테이블과 인덱스만 만들었습니다.")
                : QStringLiteral("전표 테이블과 마스터 테이블, 인덱스를 만들었습니다."));
    for (const QString& table : masterTables()) {
        const qint64 after = countRows(c, table);
        if (empty)
            say(QStringLiteral("  %1: %2행 (새로 넣은 행 %3)").arg(table, -14).arg(after).arg(after - before[table]));
        else
            say(before[table] == 0 && after > 0
                    ? QStringLiteral("  %1: 데모 데이터 %2행을 넣었습니다.").arg(table, -14).arg(after)
                    : QStringLiteral("  %1: 기존 %2행을 그대로 두었습니다.").arg(table, -14).arg(after));
    }
    say(QStringLiteral("  %1: %2행").arg(QStringLiteral("account_jen_AA"), -14).arg(countRows(c, QStringLiteral("account_jen_AA"))));
    if (!notice.isEmpty())
        say(notice);
    return 0;
}

} // namespace admin
