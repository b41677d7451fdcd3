#include "voucherwriter.h"

#include "app/strutil.h"
#include "store/numbering.h"
#include "store/statement.h"
#include "store/writeunit.h"

#include <QDateTime>

namespace {

// The entry window's insert statement, ten lines filled up to 139 characters.
const char* const kInsertLines[] = {
    "Insert  Into  Account_Jen_AA       (",
    "Serial, Serial_Jen, Serial_Bun, Serial_CrDr, Month_Char,",
    "Year_Char, Date_Day, Table_Kubun, Kubun_Bon, Kubun_Jen, Kubun_Amt, Form_Kubun,",
    "Giel_Serial, Ac_JenCode, Ac_JenName, Ac_Text, Item_Code, Item_Name, Kubun_Code, Kubun_Name,",
    "Project_Code, Project_Name, Buser_Code, Buser_Name, Sawon_Code, Sawon_Name, Cr_Amt, Dr_Amt, End_Day   )",
    "Values    (",
    ":tbSerial, :tbSerial_Jen, :tbSerial_Bun, :tbSerial_CrDr, :tbMonth_Char,",
    ":tbYear_Char, :tbDate_Day, :tbTable_Kubun, :tbKubun_Bon, :tbKubun_Jen, :tbKubun_Amt, :tbForm_Kubun,",
    ":tbGiel_Serial, :tbAc_JenCode, :tbAc_JenName, :tbAc_Text, :tbItem_Code, :tbItem_Name, :tbKubun_Code, :tbKubun_Name,",
    ":tbProject_Code, :tbProject_Name, :tbBuser_Code, :tbBuser_Name, :tbSawon_Code, :tbSawon_Name, :tbCr_Amt, :tbDr_Amt, :tbEnd_Day )",
};

struct RowValues {
    QString serial, serialJen, serialBun, serialCrDr, date, kubunBon, kubunJen, formKubun, acCode, acName, acText;
    double crAmt = 0;
    double drAmt = 0;
};

void insertRow(store::SqlStatement& q, const RowValues& v)
{
    q.close();
    q.clearText();
    for (const char* line : kInsertLines)
        q.addLine(QString::fromLatin1(line).leftJustified(139, u' '));
    q.bindText(QStringLiteral("tbSerial"), v.serial);
    q.bindText(QStringLiteral("tbSerial_Jen"), v.serialJen);
    q.bindText(QStringLiteral("tbSerial_Bun"), v.serialBun);
    q.bindText(QStringLiteral("tbSerial_CrDr"), v.serialCrDr);
    q.bindText(QStringLiteral("tbMonth_Char"), v.date.mid(5, 2));
    q.bindText(QStringLiteral("tbYear_Char"), v.date.mid(0, 4));
    q.bindText(QStringLiteral("tbDate_Day"), v.date);
    q.bindText(QStringLiteral("tbTable_Kubun"), QStringLiteral("AA"));
    q.bindText(QStringLiteral("tbKubun_Bon"), v.kubunBon);
    q.bindText(QStringLiteral("tbKubun_Jen"), v.kubunJen);
    q.bindText(QStringLiteral("tbKubun_Amt"), QStringLiteral("5"));
    q.bindText(QStringLiteral("tbForm_Kubun"), v.formKubun);
    q.bindText(QStringLiteral("tbGiel_Serial"), QStringLiteral("999"));
    q.bindText(QStringLiteral("tbAc_JenCode"), v.acCode);
    q.bindText(QStringLiteral("tbAc_JenName"), v.acName);
    q.bindText(QStringLiteral("tbAc_Text"), v.acText);
    for (const char* name : {"tbItem_Code", "tbItem_Name", "tbKubun_Code", "tbKubun_Name", "tbProject_Code",
                             "tbProject_Name", "tbBuser_Code", "tbBuser_Name", "tbSawon_Code", "tbSawon_Name"})
        q.bindText(QString::fromLatin1(name), QString());
    q.bindFloat(QStringLiteral("tbCr_Amt"), v.crAmt);
    q.bindFloat(QStringLiteral("tbDr_Amt"), v.drAmt);
    q.bindDateTime(QStringLiteral("tbEnd_Day"), QDateTime::currentDateTime());
    q.prepare();
    q.execute();
}

} // namespace

QString saveTestVoucher(store::Connection& connection, const QString& date, int branchIndex,
                        const QList<TestLine>& lines)
{
    store::WriteUnit unit(connection);
    store::SqlStatement queryMax(connection);
    store::SqlStatement querySql(connection);
    const QString number = store::Serial_Jen_MaxValue(queryMax, date);
    for (const TestLine& line : lines) {
        RowValues v;
        v.serialJen = number;
        v.serialBun = line.serialBun;
        v.date = date;
        v.kubunBon = formatZeroPadded(branchIndex, 5);
        v.kubunJen = QStringLiteral("2");
        v.formKubun = QStringLiteral("A002");
        v.acText = line.text;
        // Credit row first, then the debit row, as the entry window writes them.
        v.serial = store::Serial_MaxValue(branchIndex, number, line.serialBun, QStringLiteral("A002*02"));
        v.serialCrDr = QStringLiteral("02");
        v.acCode = QStringLiteral("10101001000");
        v.acName = QStringLiteral("현금");
        v.crAmt = 0;
        v.drAmt = line.amount;
        insertRow(querySql, v);
        v.serial = store::Serial_MaxValue(branchIndex, number, line.serialBun, QStringLiteral("A002*01"));
        v.serialCrDr = QStringLiteral("01");
        v.acCode = line.acCode;
        v.acName = line.acName;
        v.crAmt = line.amount;
        v.drAmt = 0;
        insertRow(querySql, v);
    }
    unit.commit();
    return number;
}

void insertTestRow(store::Connection& connection, const QString& serialJen, const QString& date,
                   const QString& kubunJen, const QString& formKubun)
{
    store::SqlStatement q(connection);
    RowValues v;
    v.serialJen = serialJen;
    v.serialBun = QStringLiteral("01");
    v.serialCrDr = QStringLiteral("01");
    v.date = date;
    v.kubunBon = QStringLiteral("00000");
    v.kubunJen = kubunJen;
    v.formKubun = formKubun;
    v.serial = QStringLiteral("AA*00000*%1*%2*01*%3*01").arg(kubunJen, serialJen, formKubun);
    v.acCode = QStringLiteral("40701004000");
    v.acName = QStringLiteral("복리후생비");
    v.crAmt = 10000;
    insertRow(q, v);
}

qint64 voucherRowCount(store::Connection& connection)
{
    store::SqlStatement q(connection);
    q.addLine(QStringLiteral("Select Count(*) As Cnt From Account_Jen_AA"));
    q.open();
    return q.asInteger(QStringLiteral("Cnt"));
}
