#include "voucherseed.h"

#include "core/errors.h"
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
    static const char* const kColumns[] = {
        "Serial",    "Serial_Jen", "Serial_Bun", "Serial_CrDr", "Month_Char",   "Year_Char",    "Date_Day",
        "Table_Kubun", "Kubun_Bon", "Kubun_Jen", "Kubun_Amt",   "Form_Kubun",   "Giel_Serial",  "Ac_JenCode",
        "Ac_JenName", "Ac_Text",   "Item_Code",  "Item_Name",   "Kubun_Code",   "Kubun_Name",   "Project_Code",
        "Project_Name", "Buser_Code", "Buser_Name", "Sawon_Code", "Sawon_Name", "Cr_Amt",       "Dr_Amt",
        "End_Day"};
    QStringList columns, parameters;
    for (const char* column : kColumns) {
        columns << QLatin1String(column);
        parameters << QStringLiteral(":tb") + QLatin1String(column);
    }
    const bool debit = r.serialCrDr == u"01";
    const Line& l = r.line;
    const QString texts[] = {
        QStringLiteral("AA*%1*%2*%3*%4*%5*%6").arg(r.branch, r.kubunJen, r.serialJen, r.serialBun, r.form, r.serialCrDr),
        r.serialJen, r.serialBun, r.serialCrDr, r.date.mid(5, 2), r.date.left(4), r.date,
        QStringLiteral("AA"), r.branch, r.kubunJen, QStringLiteral("5"), r.form, QStringLiteral("999"),
        debit ? l.accountCode : QStringLiteral("10101001000"), debit ? l.accountName : QStringLiteral("현금"),
        l.text, l.itemCode, l.itemName, l.kubunCode, l.kubunName, l.projectCode, l.projectName,
        l.buserCode, l.buserName, l.sawonCode, l.sawonName};
    store::SqlStatement q(connection);
    q.addLine(QStringLiteral("INSERT INTO account_jen_AA (%1) VALUES (%2)")
                  .arg(columns.join(QStringLiteral(", ")), parameters.join(QStringLiteral(", "))));
    for (size_t i = 0; i < std::size(texts); ++i)
        q.bindText(QStringLiteral("tb") + QLatin1String(kColumns[i]), texts[i]);
    q.bindFloat(QStringLiteral("tbCr_Amt"), debit ? l.amount : 0.0);
    q.bindFloat(QStringLiteral("tbDr_Amt"), debit ? 0.0 : l.amount);
    q.bindDateTime(QStringLiteral("tbEnd_Day"), QDateTime::currentDateTime());
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
        for (const char* side : {"01", "02"}) {
            row.serialCrDr = QLatin1String(side);
            insertRow(connection, row);
        }
    }
}

qint64 voucherRowCount(store::Connection& connection)
{
    QSqlQuery q(connection.database());
    if (!q.exec(QStringLiteral("select count(*) from account_jen_AA")) || !q.next())
        throw DbError(q.lastError().text());
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
