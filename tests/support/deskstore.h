#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace store {
class Connection;
}

// The store beneath the desk's window: its voucher rows read back, and
// faults it raises on purpose while the window saves.
namespace testdesk {

qint64 nativeCount(store::Connection& c, const QString& where);

// The rows of one voucher, columns as named, in the order they were written
// (the insertion order on SQLite, line and side elsewhere).
QVector<QStringList> voucherRows(store::Connection& c, const QString& serialJen, const QString& columns);

// Faults the store raises on purpose, each with the text below.
extern const QString kFaultText;
// Inserts of line `serialBun` fail.
void failInsertsOfLine(store::Connection& c, const QString& serialBun);
// Updates of credit rows fail.
void failCreditUpdates(store::Connection& c);
// Committing a transaction that inserted voucher rows fails.
void failCommits(store::Connection& c);
void removeFaults(store::Connection& c);

} // namespace testdesk
