#pragma once

#include "schema/voucherform.h"

#include <QList>
#include <QString>

namespace store {
class Connection;
}

// Vouchers for tests. A voucher as the program stores one goes through its
// own save (savevoucher.h); the rows here are written by plain INSERTs in the
// program's row form, for what that save never writes: a chosen number,
// other kinds and forms, one number under two branches, odd or old data.
namespace voucherseed {

// One voucher line: the debit row's account, the description, every name
// and code, and the amount; the credit row is the cash account.
struct Line {
    Line() = default;
    Line(QString serialBun, QString accountCode, QString accountName, double amount, QString text = {})
        : serialBun(std::move(serialBun)), accountCode(std::move(accountCode)),
          accountName(std::move(accountName)), text(std::move(text)), amount(amount)
    {
    }
    QString serialBun; // "01".."05"; empty: the line's position in its voucher
    QString accountCode;
    QString accountName;
    QString text;
    QString sawonCode, sawonName;
    QString buserCode, buserName;
    QString kubunCode, kubunName; // customer or bank
    QString projectCode, projectName;
    QString itemCode, itemName;
    double amount = 0;
};

// A line with every field filled from the given number (account "계정n", …).
Line sampleLine(int n, double amount);

// One row of account_jen_AA: the key columns as given, the rest from `line`
// (on the credit side the account is cash). Throws DbError.
struct Row {
    QString serialJen;
    QString date;
    QString serialBun = QStringLiteral("01");
    QString serialCrDr = QLatin1String(schema::kDebitSide); // "01" debit, "02" credit
    QString branch = QStringLiteral("00000");
    QString kubunJen = QLatin1String(schema::kWithdrawalKind);
    QString form = QLatin1String(schema::kWithdrawalForm);
    Line line{QString(), QStringLiteral("51101001000"), QStringLiteral("여비교통비"), 1000, QStringLiteral("적요")};
};
void insertRow(store::Connection& connection, const Row& row);

// The debit row of line "01" under a chosen number, date, kind and form.
void insertRow(store::Connection& connection, const QString& serialJen, const QString& date,
               const QString& kubunJen = QLatin1String(schema::kWithdrawalKind), const QString& form = QLatin1String(schema::kWithdrawalForm));

// Both rows of every line (debit, then credit) under a chosen number.
void insertVoucher(store::Connection& connection, const QString& date, int branchIndex, const QString& serialJen,
                   const QList<Line>& lines, const QString& kubunJen = QLatin1String(schema::kWithdrawalKind),
                   const QString& form = QLatin1String(schema::kWithdrawalForm));

// Rows of account_jen_AA (all kinds).
qint64 voucherRowCount(store::Connection& connection);

} // namespace voucherseed
