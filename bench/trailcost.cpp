#include "trailcost.h"

#include "store/statement.h"
#include "store/writeunit.h"
#include "voucher/numbering.h"
#include "voucher/voucherbook.h"
#include "voucher/voucherrows.h"

#include <QElapsedTimer>

namespace bench {

namespace {

QList<voucher::VoucherLine> fiveLines()
{
    QList<voucher::VoucherLine> lines(5);
    for (int i = 0; i < lines.size(); ++i) {
        lines[i].serialBun = QStringLiteral("0%1").arg(i + 1);
        lines[i].codes[0] = QStringLiteral("51101001000");
        lines[i].names[0] = QStringLiteral("여비교통비");
        lines[i].acText = QStringLiteral("측정 %1라인").arg(i + 1);
        lines[i].crAmt = 10000.0 * (i + 1);
    }
    return lines;
}

} // namespace

TrailCost timeTrailCost(store::Connection& c, const QString& date, int branch, int runs, QStringList& saved)
{
    const QList<voucher::VoucherLine> lines = fiveLines();
    voucher::VoucherBook book(c);
    store::SqlStatement highest(c);
    store::SqlStatement rows(c);
    const auto plainSave = [&] {
        voucher::prepareSerialJenMax(highest);
        voucher::prepareRowInsert(rows);
        store::WriteUnit unit(c);
        const voucher::VoucherHead head{date, branch, voucher::Serial_Jen_MaxValue(highest, date)};
        voucher::insertVoucherLines(rows, head, lines);
        unit.commit();
        return head.serialJen;
    };
    TrailCost cost;
    QElapsedTimer timer;
    for (int run = 0; run <= runs; ++run) {
        // Each first in turn, so that neither always meets the other's caches.
        for (int turn = 0; turn < 2; ++turn) {
            const bool withTrail = (run + turn) % 2 == 0;
            timer.start();
            saved << (withTrail ? book.saveNewVoucher(date, branch, lines).serialJen : plainSave());
            const double ms = timer.nsecsElapsed() / 1e6;
            if (run > 0)
                (withTrail ? cost.withMs : cost.withoutMs).push_back(ms);
        }
    }
    return cost;
}

} // namespace bench
