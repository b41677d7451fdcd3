#pragma once

#include <QList>
#include <QString>

namespace store {
class Connection;
}

// Stored vouchers written the way the entry window writes them: per line a
// debit row (Serial_CrDr "01", the line's account) and a credit row ("02",
// cash), kind "2", form "A002".
namespace voucherseed {

struct Line {
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

// Inserts the lines as lines "01", "02", … of the voucher.
void insertVoucher(store::Connection& connection, const QString& date, int branchIndex, const QString& serialJen,
                   const QList<Line>& lines);

// A line with every field filled from the given number (account "계정n", …).
Line sampleLine(int n, double amount);

} // namespace voucherseed
