#pragma once

#include "printflow.h"
#include "statementrows.h"

#include <QObject>
#include <QStringList>

namespace store {
class Connection;
class SqlStatement;
} // namespace store

// The two statements behind the printed voucher. Print_Count_Query counts
// the voucher's debit rows; Print_Query gives those rows followed by blank
// filler rows from Jen_Print, seven rows in all.
class PrintQueries : public QObject {
    Q_OBJECT
public:
    explicit PrintQueries(store::Connection& connection, QObject* parent = nullptr);

    static QStringList printCountQueryText();
    static QStringList printQueryText();

    // Binds the voucher's key (and the filler count) and opens both
    // statements; true when Print_Query gave at least one row.
    bool open(const PrintRequest& request);

    store::SqlStatement* Print_Count_Query;
    store::SqlStatement* Print_Query;

    // Print_Query's rows, which the printed voucher's detail band walks.
    report::RowSource& printRows() { return m_printRows; }

private:
    StatementRows m_printRows;
};
