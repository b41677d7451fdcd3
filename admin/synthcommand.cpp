#include "synthcommand.h"

#include "dice.h"
#include "sqlutil.h"
#include "synthledger.h"
#include "synthmasters.h"

#include "schema/schema.h"

#include <QElapsedTimer>

namespace admin {

namespace {

QString seconds(const QElapsedTimer& timer)
{
    return QString::number(timer.elapsed() / 1000.0, 'f', 1);
}

} // namespace

int runSynth(const SynthOptions& o)
{
    QElapsedTimer total;
    total.start();
    OpenedTarget target = openTarget(o.target);
    store::Connection& c = *target.connection;
    say(QStringLiteral("대상: %1").arg(c.describe()));

    if (schema::schemaExists(c)) {
        const qint64 existing = countRows(c, QStringLiteral("account_jen_AA"));
        if (existing > 0 && !o.replace) {
            say(QStringLiteral("전표 테이블 account_jen_AA에 이미 %1행이 있습니다. 지우고 새로 만들려면 --replace를 주십시오.")
                    .arg(existing));
            return 1;
        }
        if (existing > 0) {
            // Dropping is much faster than deleting millions of rows; the schema comes back below.
            c.execNative(QStringLiteral("DROP TABLE account_jen_AA"));
            say(QStringLiteral("기존 전표 %1행을 지웠습니다.").arg(existing));
        }
    }
    if (const QString notice = schema::createSchema(c); !notice.isEmpty())
        say(notice);

    Dice dice(o.seed);
    QElapsedTimer phase;
    phase.start();
    say(QStringLiteral("마스터 테이블을 만듭니다..."));
    synthesizeMasters(c, o, dice);
    for (const QString& table : masterTables())
        say(QStringLiteral("  %1 %2행").arg(table, -14).arg(countRows(c, table)));
    say(QStringLiteral("  마스터 테이블 %1초").arg(seconds(phase)));

    phase.restart();
    say(QStringLiteral("전표를 만듭니다..."));
    const MasterPools pools = readMasterPools(c, o.branches);
    const LedgerFigures f = synthesizeLedger(c, o, pools, dice);
    const double ledgerSeconds = phase.elapsed() / 1000.0;
    say(QStringLiteral("  account_jen_AA %1행, 전표 %2건 (다른 종류 %3건), 영업일 %4일 %5 ~ %6")
            .arg(f.rows)
            .arg(f.vouchers)
            .arg(f.otherKindVouchers)
            .arg(f.days)
            .arg(f.first.toString(Qt::ISODate), f.last.toString(Qt::ISODate)));
    say(QStringLiteral("  전표 %1초 (초당 %2행)")
            .arg(ledgerSeconds, 0, 'f', 1)
            .arg(qint64(f.rows / std::max(ledgerSeconds, 0.001))));

    if (c.engine() == core::Engine::PostgreSQL) {
        phase.restart();
        // Only the tables written here: the server may hold other schemas.
        for (const QString& table : masterTables() + QStringList{QStringLiteral("account_jen_AA")})
            c.execNative(QStringLiteral("ANALYZE %1").arg(table));
        say(QStringLiteral("  통계 갱신 %1초").arg(seconds(phase)));
    }
    say(QStringLiteral("완료: 모두 %1초").arg(seconds(total)));
    return 0;
}

} // namespace admin
