#include "voucher/statements.h"

namespace voucher {

namespace {

// The voucher list with the form condition line of its debit branch and of
// its credit branch given: the list as shown, or restricted to voucher numbers.
QStringList voucherListWithFormLines(const QString& debitFormLine, const QString& creditFormLine)
{
    return {
        QStringLiteral("select      ttt.serial_jen,     ttt.serial_bun,    ttt.Date_day,    ttt.total,    ttt.ac_text,"),
        QStringLiteral("serial_ttt = (rtrim(ttt.serial_jen) + rtrim(ttt.serial_bun)),"),
        QStringLiteral("ac_jencode1 = max(Rtrim(ttt.ac_jencode1)), ac_JenName1 = max(Rtrim(ttt.ac_JenName1)),"),
        QStringLiteral("Cr_Amt1 = sum(ttt.cr_amt1),"),
        QStringLiteral("ac_jencode2 = max(Rtrim(ttt.ac_jencode2)), ac_JenName2 = max(Rtrim(ttt.ac_JenName2)),"),
        QStringLiteral("Dr_Amt2 = sum(ttt.dr_amt2)"),
        QStringLiteral("from      ("),
        QStringLiteral("select       t.Serial,    t.serial_jen,    t.serial_bun,    t.Date_day,    t.ac_text,"),
        QStringLiteral("total = (rtrim(tt.kubun_name) + '/' + rtrim(tt.kubun_jangso)),"),
        QStringLiteral("ac_Jencode1  =  t.ac_Jencode,   ac_JenName1  =  t.ac_JenName,"),
        QStringLiteral("CR_Amt1      =  t.Cr_Amt,       Dr_Amt1      =  t.Dr_Amt,"),
        QStringLiteral("ac_jencode2  =  '',           ac_JenName2  =  '',"),
        QStringLiteral("Cr_Amt2      =  0,              Dr_Amt2      =  0"),
        QStringLiteral("from         account_jen_AA t, kubun_table tt"),
        QStringLiteral("where      t.Date_Day + t.Kubun_Bon like (:tbDKubun) and rtrim(t.kubun_jen) = '2'"),
        QStringLiteral("and t.Serial_CrDr = '01'  and rtrim(t.kubun_bon) = rtrim(tt.kubun_code)"),
        debitFormLine,
        QStringLiteral("union  all"),
        QStringLiteral("select       t.Serial,    t.serial_jen,    t.serial_bun,    t.Date_day,    t.ac_text,"),
        QStringLiteral("total = (rtrim(tt.kubun_name) + '/' + rtrim(tt.kubun_jangso)),"),
        QStringLiteral("ac_Jencode1  =  '',           ac_JenName1  =  '',"),
        QStringLiteral("CR_Amt1      =  0,              Dr_Amt1      =  0,"),
        QStringLiteral("ac_jencode2  =  t.ac_Jencode,   ac_JenName2  =  t.ac_JenName,"),
        QStringLiteral("Cr_Amt2      =  t.Cr_Amt,       Dr_Amt2      =  t.Dr_Amt"),
        QStringLiteral("from         account_jen_AA t, kubun_table tt"),
        QStringLiteral("where      t.Date_Day + t.Kubun_Bon like (:tbDKubun) and rtrim(t.kubun_jen) = '2'"),
        QStringLiteral("and t.Serial_CrDr = '02'  and rtrim(t.kubun_bon) = rtrim(tt.kubun_code)"),
        creditFormLine,
        QStringLiteral(")  ttt"),
        QStringLiteral("group    by  ttt.serial_jen,    ttt.serial_bun,    ttt.date_day,    ttt.total,    ttt.ac_text"),
    };
}

} // namespace

QStringList branchList()
{
    return {
        QStringLiteral("Select  Kubun_Code, ( rtrim(Kubun_Name) + '/' + rtrim(Kubun_JangSo) ) As Total"),
        QStringLiteral("From    Kubun_Table"),
        QStringLiteral("Order   By   Kubun_Code"),
    };
}

QStringList voucherList()
{
    const QString formLine = QStringLiteral("and t.Form_Kubun = 'A002'");
    return voucherListWithFormLines(formLine, formLine);
}

QStringList remainingVoucherLines()
{
    return voucherListWithFormLines(QStringLiteral("and rtrim(t.serial_jen) like (:tbjen )  and t.Form_Kubun = 'A002'"),
                                    QStringLiteral("and rtrim(t.serial_jen) like (:tbjen)   and t.Form_Kubun = 'A002'"));
}

QStringList voucherLineNumbers()
{
    return {
        QStringLiteral("select DISTINCT serial_bun"),
        QStringLiteral("From   Account_Jen_AA"),
        QStringLiteral("where  rtrim(serial_jen)    = :tbSerial_jen   and  rtrim(kubun_jen) = '2'"),
        QStringLiteral("and  rtrim(date_day) = :tbSerial_day   and  Form_Kubun = 'A002'"),
    };
}

QStringList voucherDebitRows()
{
    return {
        QStringLiteral("select *"),
        QStringLiteral("From   Account_Jen_AA"),
        QStringLiteral("where  rtrim(Date_Day) + rtrim(kubun_bon) + rtrim(serial_CrDr)  =    :tbDayBonCrDr"),
        QStringLiteral("and  rtrim(serial_jen) =  :tbSerial_jen   and  rtrim(kubun_jen) = '2'"),
        QStringLiteral("and  Form_Kubun = 'A002'"),
    };
}

} // namespace voucher
