#pragma once

#include <QVariant>
#include <QVector>

namespace admin {

// Where a long pass puts the rows it writes into one table: the engine's
// fastest way in, whichever it is, behind one interface.
class RowSink {
public:
    virtual ~RowSink() = default; // gives up what was not finished
    // One row, values in column order.
    virtual void add(const QVector<QVariant>& row) = 0;
    // Writes what is buffered.
    virtual void finish() = 0;
    virtual qint64 written() const = 0;
};

} // namespace admin
