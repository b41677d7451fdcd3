#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace schema {

// The voucher table's columns and the form a withdrawal's rows take, held in
// one place: the schema creates the table from it, the book, the admin tool,
// the benchmarks and the test fixtures write rows with it.

enum class ColumnKind { Fixed, Varying, Float, DateTime };

struct VoucherColumn {
    const char* name;
    ColumnKind kind;
    int width; // of a text column; 0 for any other
};

inline constexpr char kVoucherTable[] = "account_jen_AA";

// In the column order of the program's insert statement.
inline constexpr VoucherColumn kVoucherColumns[] = {
    {"Serial", ColumnKind::Fixed, 100},       {"Serial_Jen", ColumnKind::Fixed, 20},
    {"Serial_Bun", ColumnKind::Fixed, 3},     {"Serial_CrDr", ColumnKind::Fixed, 3},
    {"Month_Char", ColumnKind::Fixed, 2},     {"Year_Char", ColumnKind::Fixed, 4},
    {"Date_Day", ColumnKind::Fixed, 10},      {"Table_Kubun", ColumnKind::Fixed, 5},
    {"Kubun_Bon", ColumnKind::Fixed, 5},      {"Kubun_Jen", ColumnKind::Fixed, 2},
    {"Kubun_Amt", ColumnKind::Fixed, 2},      {"Form_Kubun", ColumnKind::Varying, 10},
    {"Giel_Serial", ColumnKind::Fixed, 30},   {"Ac_JenCode", ColumnKind::Fixed, 12},
    {"Ac_JenName", ColumnKind::Fixed, 90},    {"Ac_Text", ColumnKind::Fixed, 200},
    {"Item_Code", ColumnKind::Fixed, 20},     {"Item_Name", ColumnKind::Fixed, 200},
    {"Kubun_Code", ColumnKind::Fixed, 20},    {"Kubun_Name", ColumnKind::Fixed, 200},
    {"Project_Code", ColumnKind::Fixed, 20},  {"Project_Name", ColumnKind::Fixed, 200},
    {"Buser_Code", ColumnKind::Fixed, 20},    {"Buser_Name", ColumnKind::Fixed, 100},
    {"Sawon_Code", ColumnKind::Fixed, 20},    {"Sawon_Name", ColumnKind::Fixed, 100},
    {"Cr_Amt", ColumnKind::Float, 0},         {"Dr_Amt", ColumnKind::Float, 0},
    {"End_Day", ColumnKind::DateTime, 0},
};

// The withdrawal's row form: every line is a debit row of its account and a
// credit row of cash under the same table, kind, amount kind and form.
inline constexpr char kTableKubun[] = "AA";
inline constexpr char kWithdrawalKind[] = "2"; // Kubun_Jen: 1 receipt, 2 withdrawal, 3 transfer
inline constexpr char kAmountKind[] = "5";     // Kubun_Amt
inline constexpr char kWithdrawalForm[] = "A002";
inline constexpr char kGielSerial[] = "999";
inline constexpr char kDebitSide[] = "01";
inline constexpr char kCreditSide[] = "02";
inline constexpr char kCashCode[] = "10101001000";
inline constexpr char kCashNameUtf8[] = "현금";
QString cashName();

// One row with every column's value; the defaults are a withdrawal's.
struct VoucherRow {
    QString serialJen;
    QString serialBun;
    QString side = QLatin1String(kDebitSide);
    QString date; // yyyy-MM-dd
    QString branch = QStringLiteral("00000");
    QString kubunJen = QLatin1String(kWithdrawalKind);
    QString form = QLatin1String(kWithdrawalForm);
    QString accountCode, accountName, text;
    QString itemCode, itemName;
    QString kubunCode, kubunName; // customer or bank
    QString projectCode, projectName;
    QString buserCode, buserName;
    QString sawonCode, sawonName;
    double crAmt = 0;
    double drAmt = 0;
    QDateTime endDay;
};

// The row's Serial: "AA*" branch "*" kind "*" number "*" line "*" form "*" side.
QString voucherRowSerial(const VoucherRow& row);
// The row's values in the order of kVoucherColumns.
QVector<QVariant> voucherRowValues(const VoucherRow& row);
// The names of kVoucherColumns in their order.
QStringList voucherColumnNames();

} // namespace schema
