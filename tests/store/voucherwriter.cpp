#include "voucherwriter.h"

#include "store/statement.h"
#include "voucher/voucherbook.h"
#include "voucher/writestatements.h"

#include <QDateTime>

namespace {

struct RowValues {
    QString serial, serialJen, serialBun, serialCrDr, date, kubunBon, kubunJen, formKubun, acCode, acName, acText;
    double crAmt = 0;
    double drAmt = 0;
};

void insertRow(store::SqlStatement& q, const RowValues& v)
{
    q.close();
    q.setLines(entrysql::voucherRowInsert());
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
    QList<VoucherLine> voucherLines;
    for (const TestLine& line : lines) {
        VoucherLine v;
        v.serialBun = line.serialBun;
        v.codes[static_cast<size_t>(LookupKind::Account)] = line.acCode;
        v.names[static_cast<size_t>(LookupKind::Account)] = line.acName;
        v.acText = line.text;
        v.crAmt = line.amount;
        v.drAmt = 0;
        voucherLines.append(v);
    }
    VoucherBook book(connection);
    return book.saveNewVoucher(date, branchIndex, voucherLines).serialJen;
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
