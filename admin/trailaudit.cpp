#include "trailaudit.h"

#include "progress.h"
#include "sqlutil.h"
#include "tablecolumns.h"

#include "voucher/vouchertrail.h"

#include <QHash>
#include <QSqlQuery>
#include <map>

namespace admin {

namespace {

const char* const kFields = "history_id, operation, serial_jen, serial_bun, branch, date_day, done_by, done_at, "
                            "workstation, before, after, prev_hash, hash";

voucher::TrailRecord recordAt(const QSqlQuery& q)
{
    voucher::TrailRecord r;
    r.id = q.value(0).toLongLong();
    QString* fields[] = {&r.operation, &r.serialJen, &r.serialBun, &r.branch,   &r.date,     &r.doneBy,
                         &r.doneAt,    &r.workstation, &r.before,  &r.after,    &r.prevHash, &r.hash};
    for (int i = 0; i < 12; ++i)
        *fields[i] = q.value(i + 1).toString();
    return r;
}

QString named(const voucher::TrailRecord& r)
{
    if (r.serialJen.isEmpty())
        return QStringLiteral("#%1(%2 %3)").arg(r.id).arg(r.operation, r.date);
    return QStringLiteral("#%1(%2, 전표 %3 줄 %4)").arg(r.id).arg(r.operation, r.serialJen, r.serialBun);
}

struct LastChange {
    qint64 id = 0;
    QString operation;
    QString after;
};

} // namespace

QStringList auditTrail(store::Connection& c)
{
    QStringList findings;
    try {
        tableColumns(c, QStringLiteral("voucher_history"));
    } catch (const core::AppError&) {
        say(QStringLiteral("전표 이력 테이블 voucher_history가 없습니다: init을 실행하면 만들어집니다."));
        return findings;
    }
    const qint64 total = countRows(c, QStringLiteral("voucher_history"));
    Progress progress(QStringLiteral("voucher_history"), total, QStringLiteral("건"));
    QSqlQuery q = prepareNative(c, QStringLiteral("SELECT %1 FROM voucher_history ORDER BY history_id").arg(QLatin1String(kFields)));
    q.setForwardOnly(true);
    execPrepared(c, q);

    QHash<QString, qint64> seen;              // hash → record, for a chain that skips records
    std::map<QString, LastChange> lastChange; // line key → its last record
    QString chainEnd;                         // the hash the next record must name
    qint64 lastId = 0;
    qint64 read = 0;
    while (q.next()) {
        const voucher::TrailRecord r = recordAt(q);
        progress.advanceTo(++read);
        if (r.computedHash() != r.hash) {
            findings << QStringLiteral("전표 이력 기록 %1의 내용이 바뀌었습니다: 저장된 해시가 기록의 내용과 맞지 않습니다.").arg(named(r));
            break;
        }
        if (r.prevHash != chainEnd) {
            const bool nextFollowsOn = q.next() && recordAt(q).prevHash == chainEnd && !chainEnd.isEmpty();
            if (nextFollowsOn)
                findings << QStringLiteral("전표 이력 기록 %1은(는) 끼워 넣은 기록입니다: 그 뒤 기록이 앞 기록 #%2에 바로 이어집니다.")
                                .arg(named(r))
                                .arg(lastId);
            else if (seen.contains(r.prevHash))
                findings << QStringLiteral("전표 이력 기록 %1은(는) 끼워 넣은 기록입니다: 마지막 기록 #%2가 아니라 #%3에 이어집니다.")
                                .arg(named(r))
                                .arg(lastId)
                                .arg(seen.value(r.prevHash));
            else
                findings << QStringLiteral("전표 이력 기록 %1 앞의 기록이 지워졌거나 바뀌었습니다: 앞 기록의 해시와 이어지지 않습니다.").arg(named(r));
            break;
        }
        seen.insert(r.hash, r.id);
        chainEnd = r.hash;
        lastId = r.id;
        if (!r.serialJen.isEmpty())
            lastChange[r.serialJen + u'/' + r.serialBun] = {r.id, r.operation, r.after};
    }

    // The rows of every line the trail knows against its last record.
    voucher::VoucherTrail trail(c);
    for (const auto& [key, last] : lastChange) {
        const QString serialJen = key.section(u'/', 0, 0);
        const QString serialBun = key.section(u'/', 1);
        if (trail.lineRows(serialJen, serialBun).text != last.after)
            findings << QStringLiteral("전표 %1 줄 %2: 전표 행이 전표 이력의 마지막 기록 #%3(%4)과 다릅니다 (이력 밖에서 바뀌었습니다).")
                            .arg(serialJen, serialBun)
                            .arg(last.id)
                            .arg(last.operation);
    }
    say(QStringLiteral("전표 이력 %1건과 이력이 아는 전표 줄 %2개를 검사했습니다.").arg(read).arg(lastChange.size()));
    return findings;
}

} // namespace admin
