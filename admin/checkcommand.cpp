#include "checkcommand.h"

#include "ledgeraudit.h"
#include "sqlutil.h"
#include "trailaudit.h"

#include "core/errors.h"
#include "schema/schema.h"

namespace admin {

namespace {

constexpr int kShownFindings = 200; // a broken import can give millions; the first ones tell the story

} // namespace

int runCheck(const TargetChoice& choice)
{
    OpenedTarget target = openTarget(choice, store::Connection::ResultReading::ThroughCursor);
    store::Connection& c = *target.connection;
    say(QStringLiteral("대상: %1").arg(c.describe()));
    if (!schema::schemaExists(c))
        throw core::AppError(QStringLiteral("전표 테이블 account_jen_AA가 없습니다. 먼저 init을 실행하십시오."));
    // One snapshot: the masters and the ledger as of one moment, read
    // through a cursor on a server. Nothing is written; it ends rolled back.
    AdminTransaction snapshot(c);
    if (c.engine() == core::Engine::PostgreSQL)
        c.execNative(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"));
    QStringList findings = auditLedger(c);
    findings += auditTrail(c);
    for (qsizetype i = 0; i < findings.size() && i < kShownFindings; ++i)
        say(findings[i]);
    if (findings.size() > kShownFindings)
        say(QStringLiteral("... 외 %1건").arg(findings.size() - kShownFindings));
    say(findings.isEmpty() ? QStringLiteral("이상 없음.") : QStringLiteral("문제 %1건.").arg(findings.size()));
    return findings.isEmpty() ? 0 : 1;
}

} // namespace admin
