#pragma once

#include "rowstream.h"

#include "store/connection.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>

namespace admin {

// A table's rows summed up so that the same rows give the same figure on
// every engine, in any order: each row's values in one engine-free text
// (trailing blanks of fixed-width texts dropped, numbers and times in one
// form), hashed, and the hashes added.
struct TableChecksum {
    qint64 rows = 0;
    quint64 sum = 0;
    bool operator==(const TableChecksum&) const = default;
    QString text() const; // "400행 검사합 0123456789abcdef"
};

// Adds rows one at a time, as a pass that reads them for another purpose
// (the copy's writing pass) meets them.
class ChecksumAdder {
public:
    void add(const RowStream& row, qsizetype columns);
    const TableChecksum& sum() const { return m_sum; }

private:
    TableChecksum m_sum;
    QByteArray m_text; // reused: one allocation for the whole table
};

// One streaming pass over the table, its progress told as `what`.
TableChecksum checksumOf(store::Connection& connection, const QString& table, const QStringList& columns,
                         const QString& what);

// The rest of the rows read, `total` of them, summed up.
TableChecksum checksumOf(RowStream& rows, qsizetype columns, qint64 total, const QString& what);

// The columns of a table as the engine names them, in their order.
QStringList columnsOf(store::Connection& connection, const QString& table);

// A value as read from any engine, in the form every engine shares.
QString canonicalValue(const QVariant& value);

} // namespace admin
