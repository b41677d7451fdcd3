#pragma once

#include "store/connection.h"

#include <QList>
#include <QString>

// Writes vouchers as the entry window stores a new one (VoucherBook::
// saveNewVoucher): the next number of the date, then for every line its
// credit row and its debit row, all inside one WriteUnit. The lines carry an
// account, a description and an amount; their other names stay empty.
struct TestLine {
    QString serialBun; // "01".."05"
    QString acCode;
    QString acName;
    double amount = 0;
    QString text;
};

// Returns the voucher number. Throws what the store throws; nothing is kept then.
QString saveTestVoucher(store::Connection& connection, const QString& date, int branchIndex,
                        const QList<TestLine>& lines);

// One row of account_jen_AA written through the insert statement, outside
// any WriteUnit; for preparing odd rows (other kinds, odd numbers).
void insertTestRow(store::Connection& connection, const QString& serialJen, const QString& date,
                   const QString& kubunJen = QStringLiteral("2"), const QString& formKubun = QStringLiteral("A002"));

// Rows of account_jen_AA (all kinds).
qint64 voucherRowCount(store::Connection& connection);
