#include "closebookscommand.h"

#include "sqlutil.h"
#include "tablecolumns.h"

#include "core/errors.h"
#include "store/writeunit.h"
#include "voucher/vouchertrail.h"

#include <QDate>
#include <QRegularExpression>

namespace admin {

int runCloseBooks(const TargetChoice& choice, const QString& through, bool reopen)
{
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (through.isEmpty())
        throw core::AppError(QStringLiteral("--through DATE로 날짜를 주십시오 (yyyy-MM-dd)."));
    if (!form.match(through).hasMatch() || !QDate::fromString(through, QStringLiteral("yyyy-MM-dd")).isValid())
        throw core::AppError(QStringLiteral("--through: 달력에 있는 날짜를 yyyy-MM-dd로 주십시오 (값: %1).").arg(through));

    OpenedTarget target = openTarget(choice);
    store::Connection& c = *target.connection;
    say(QStringLiteral("대상: %1").arg(c.describe()));
    tableColumns(c, QStringLiteral("closed_books")); // an older file: init adds it

    // The voucher table's lock: a clerk's save in progress ends first, the next meets the new date.
    store::WriteUnit unit(c);
    voucher::VoucherTrail trail(c);
    trail.begin();
    const QString current = trail.closedThrough();
    if (!reopen && !current.isEmpty() && through <= current)
        throw core::AppError(QStringLiteral("이미 %1까지 마감되어 있습니다. 마감을 앞당기려면 reopen-books를 쓰십시오.").arg(current));
    if (reopen && (current.isEmpty() || through >= current))
        throw core::AppError(current.isEmpty() ? QStringLiteral("마감된 기간이 없습니다.")
                                         : QStringLiteral("%1까지만 마감되어 있습니다: %2 뒤는 이미 열려 있습니다.").arg(current, through));
    store::SqlStatement q(c);
    q.setLines({QStringLiteral("Delete From closed_books")});
    q.execute();
    q.close();
    q.setLines({QStringLiteral("Insert Into closed_books (closed_through) Values (:tbThrough)")});
    q.bindText(QStringLiteral("tbThrough"), through);
    q.execute();
    trail.append(reopen ? voucher::kTrailReopen : voucher::kTrailClose, QString(), QString(), QString(), through, current, through);
    unit.commit();
    say(reopen ? QStringLiteral("%1 뒤의 날짜를 다시 열었습니다 (마감: %1까지, 전에는 %2까지).").arg(through, current)
               : QStringLiteral("%1까지 마감했습니다: 그날까지의 전표는 저장, 수정, 삭제할 수 없습니다.").arg(through));
    return 0;
}

} // namespace admin
