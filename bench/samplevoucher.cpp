#include "samplevoucher.h"

#include "core/errors.h"
#include "schema/voucherform.h"

#include <QSqlQuery>
#include <QVariant>

namespace bench {

namespace {

QSqlQuery run(store::Connection& c, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery q(c.database());
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw core::AppError(q.lastError().text());
    return q;
}

} // namespace

SampleVoucher findSampleVoucher(store::Connection& c, int branch)
{
    SampleVoucher s;
    s.branch = branch;
    const QString bon = QStringLiteral("%1").arg(branch, 5, 10, QLatin1Char('0'));
    const QString kind = QLatin1String(schema::kWithdrawalKind);
    const QString form = QLatin1String(schema::kWithdrawalForm);
    // The newest date through the (date, branch) index, walking back over the
    // few dates on which the branch wrote nothing.
    QSqlQuery dates = run(c, QStringLiteral("select distinct date_day from account_jen_AA order by date_day desc limit 20"));
    while (dates.next() && s.serialJen.isEmpty()) {
        const QString date = dates.value(0).toString().trimmed();
        QSqlQuery voucher = run(c,
                                QStringLiteral("select serial_jen, count(*) from account_jen_AA "
                                               "where date_day = ? and kubun_bon = ? and kubun_jen = ? and form_kubun = ? "
                                               "group by serial_jen order by count(*) desc, serial_jen limit 1"),
                                {date, bon, kind, form});
        if (!voucher.next())
            continue;
        s.date = date;
        s.serialJen = voucher.value(0).toString().trimmed();
    }
    if (s.serialJen.isEmpty())
        throw core::AppError(QStringLiteral("no withdrawal voucher of branch %1 among the newest dates").arg(bon));
    const auto firstLine = [&](const QString& serialJen) {
        QSqlQuery line = run(c, QStringLiteral("select min(serial_bun) from account_jen_AA where serial_jen = ?"), {serialJen});
        line.next();
        return line.value(0).toString().trimmed();
    };
    s.serialBun = firstLine(s.serialJen);
    QSqlQuery other = run(c,
                          QStringLiteral("select serial_jen, count(*) from account_jen_AA "
                                         "where date_day = ? and kubun_bon = ? and kubun_jen = ? and form_kubun = ? "
                                         "and serial_jen <> ? group by serial_jen order by count(*), serial_jen limit 1"),
                          {s.date, bon, kind, form, s.serialJen});
    s.otherSerialJen = other.next() ? other.value(0).toString().trimmed() : s.serialJen;
    s.otherSerialBun = firstLine(s.otherSerialJen);
    QSqlQuery rows = run(c,
                         QStringLiteral("select count(distinct serial_jen || '*' || serial_bun) from account_jen_AA "
                                        "where date_day = ? and kubun_bon = ? and kubun_jen = ? and form_kubun = ?"),
                         {s.date, bon, kind, form});
    rows.next();
    s.listRows = rows.value(0).toInt();
    return s;
}

} // namespace bench
