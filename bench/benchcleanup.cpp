#include "benchcleanup.h"

#include "core/errors.h"
#include "voucher/voucherbook.h"

#include <QList>
#include <QSqlError>
#include <QSqlQuery>
#include <utility>

namespace bench {

void deleteLinesThroughTheBook(store::Connection& c, const QString& where)
{
    QList<std::pair<QString, QString>> lines;
    {
        QSqlQuery q(c.database());
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("select distinct serial_jen, serial_bun from account_jen_AA where %1").arg(where)))
            throw core::AppError(QStringLiteral("benchmark clean-up: %1").arg(q.lastError().text()));
        while (q.next())
            lines.append({q.value(0).toString().trimmed(), q.value(1).toString().trimmed()});
    }
    voucher::VoucherBook book(c);
    for (const auto& [serialJen, serialBun] : lines)
        book.deleteLine(serialJen, serialBun);
}

} // namespace bench
