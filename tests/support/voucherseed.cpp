#include "voucherseed.h"

#include "core/errors.h"
#include "schema/voucherform.h"
#include "store/connection.h"
#include "store/statement.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <iterator>

namespace voucherseed {

// Written through the store's statement, as the program writes: a write
// meets what the connection's open statements hold as the program's does.
void insertRow(store::Connection& connection, const Row& r)
{
    const bool debit = r.serialCrDr == QLatin1String(schema::kDebitSide);
    const Line& l = r.line;
    schema::VoucherRow row{.serialJen = r.serialJen, .serialBun = r.serialBun, .side = r.serialCrDr, .date = r.date,
                         .branch = r.branch, .kubunJen = r.kubunJen, .form = r.form};
    row.accountCode = debit ? l.accountCode : QLatin1String(schema::kCashCode);
    row.accountName = debit ? l.accountName : schema::cashName();
    row.text = l.text;
    row.itemCode = l.itemCode, row.itemName = l.itemName;
    row.kubunCode = l.kubunCode, row.kubunName = l.kubunName;
    row.projectCode = l.projectCode, row.projectName = l.projectName;
    row.buserCode = l.buserCode, row.buserName = l.buserName;
    row.sawonCode = l.sawonCode, row.sawonName = l.sawonName;
    row.crAmt = debit ? l.amount : 0.0;
    row.drAmt = debit ? 0.0 : l.amount;
    row.endDay = QDateTime::currentDateTime();

    const QStringList columns = schema::voucherColumnNames();
    QStringList parameters;
    for (const QString& column : columns)
        parameters << QStringLiteral(":tb") + column;
    store::SqlStatement q(connection);
    q.addLine(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(QLatin1String(schema::kVoucherTable), columns.join(QStringLiteral(", ")),
                       parameters.join(QStringLiteral(", "))));
    const QVector<QVariant> values = schema::voucherRowValues(row);
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QString name = QStringLiteral("tb") + columns[i];
        if (values[i].typeId() == QMetaType::Double)
            q.bindFloat(name, values[i].toDouble());
        else if (values[i].typeId() == QMetaType::QDateTime)
            q.bindDateTime(name, values[i].toDateTime());
        else
            q.bindText(name, values[i].toString());
    }
    q.prepare();
    q.execute();
}

void insertRow(store::Connection& connection, const QString& serialJen, const QString& date,
               const QString& kubunJen, const QString& form)
{
    Row row;
    row.serialJen = serialJen;
    row.date = date;
    row.kubunJen = kubunJen;
    row.form = form;
    insertRow(connection, row);
}

void insertVoucher(store::Connection& connection, const QString& date, int branchIndex, const QString& serialJen,
                   const QList<Line>& lines, const QString& kubunJen, const QString& form)
{
    Row row;
    row.serialJen = serialJen;
    row.date = date;
    row.branch = QStringLiteral("%1").arg(branchIndex, 5, 10, QLatin1Char('0'));
    row.kubunJen = kubunJen;
    row.form = form;
    for (int i = 0; i < lines.size(); ++i) {
        row.line = lines[i];
        row.serialBun = lines[i].serialBun.isEmpty() ? QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'))
                                                     : lines[i].serialBun;
        for (const char* side : {schema::kDebitSide, schema::kCreditSide}) {
            row.serialCrDr = QLatin1String(side);
            insertRow(connection, row);
        }
    }
}

qint64 voucherRowCount(store::Connection& connection)
{
    QSqlQuery q(connection.database());
    if (!q.exec(QStringLiteral("select count(*) from account_jen_AA")) || !q.next())
        throw core::DbError(q.lastError().text());
    return q.value(0).toLongLong();
}

Line sampleLine(int n, double amount)
{
    Line line;
    line.accountCode = QStringLiteral("5110%1").arg(n, 3, 10, QLatin1Char('0')) + QStringLiteral("000");
    line.accountName = QStringLiteral("계정%1").arg(n);
    line.text = QStringLiteral("적요%1 내용").arg(n);
    line.sawonCode = QStringLiteral("S%1").arg(n, 3, 10, QLatin1Char('0'));
    line.sawonName = QStringLiteral("사원%1").arg(n);
    line.buserCode = QStringLiteral("B%1").arg(n, 3, 10, QLatin1Char('0'));
    line.buserName = QStringLiteral("부서%1").arg(n);
    line.kubunCode = QStringLiteral("C%1").arg(n, 3, 10, QLatin1Char('0'));
    line.kubunName = QStringLiteral("거래처%1").arg(n);
    line.projectCode = QStringLiteral("P%1").arg(n, 3, 10, QLatin1Char('0'));
    line.projectName = QStringLiteral("프로젝트%1").arg(n);
    line.itemCode = QStringLiteral("I%1").arg(n, 3, 10, QLatin1Char('0'));
    line.itemName = QStringLiteral("관리항목%1").arg(n);
    line.amount = amount;
    return line;
}

} // namespace voucherseed
