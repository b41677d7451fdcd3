#include "voucherseed.h"

#include "store/connection.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <stdexcept>

namespace voucherseed {

namespace {

void insertRow(store::Connection& connection, const QString& date, const QString& branch,
               const QString& serialJen, const QString& lineNo, const QString& side, const Line& line)
{
    const bool debit = side == u"01";
    QSqlQuery q(connection.database());
    q.prepare(QStringLiteral(
        "INSERT INTO account_jen_AA (Serial, Serial_Jen, Serial_Bun, Serial_CrDr, Month_Char, Year_Char, Date_Day,"
        " Table_Kubun, Kubun_Bon, Kubun_Jen, Kubun_Amt, Form_Kubun, Giel_Serial, Ac_JenCode, Ac_JenName, Ac_Text,"
        " Item_Code, Item_Name, Kubun_Code, Kubun_Name, Project_Code, Project_Name, Buser_Code, Buser_Name,"
        " Sawon_Code, Sawon_Name, Cr_Amt, Dr_Amt, End_Day)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QString serial =
        QStringLiteral("AA*%1*2*%2*%3*A002*%4").arg(branch, serialJen, lineNo, side);
    const QVariantList values{
        serial, serialJen, lineNo, side, date.mid(5, 2), date.left(4), date, QStringLiteral("AA"), branch,
        QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("A002"), QStringLiteral("999"),
        debit ? line.accountCode : QStringLiteral("10101001000"), debit ? line.accountName : QStringLiteral("현금"),
        line.text, line.itemCode, line.itemName, line.kubunCode, line.kubunName, line.projectCode,
        line.projectName, line.buserCode, line.buserName, line.sawonCode, line.sawonName,
        debit ? line.amount : 0.0, debit ? 0.0 : line.amount, QDateTime::currentDateTime()};
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec())
        throw std::runtime_error(q.lastError().text().toStdString());
}

} // namespace

void insertVoucher(store::Connection& connection, const QString& date, int branchIndex, const QString& serialJen,
                   const QList<Line>& lines)
{
    const QString branch = QStringLiteral("%1").arg(branchIndex, 5, 10, QLatin1Char('0'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString lineNo = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        insertRow(connection, date, branch, serialJen, lineNo, QStringLiteral("01"), lines[i]);
        insertRow(connection, date, branch, serialJen, lineNo, QStringLiteral("02"), lines[i]);
    }
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
