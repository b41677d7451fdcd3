#pragma once

#include <QString>

namespace report {

// The rows a report walks and its data fields read: a cursor over a result
// whose columns are read by name. The report knows nothing of where the rows
// come from; whoever runs the statement hands it its rows.
class RowSource {
public:
    virtual ~RowSource() = default;

    // The name a sum gives the data set ("SUM(name.column)"), compared ignoring case.
    virtual QString name() const = 0;
    virtual bool isOpen() const = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() = 0;
    // The current row's column, by name ignoring case: its text without
    // trailing blanks, or its number.
    virtual QString text(const QString& column) = 0;
    virtual double number(const QString& column) = 0;
};

} // namespace report
