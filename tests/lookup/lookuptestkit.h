#pragma once

#include "lookup/lookuptarget.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace store {
class Connection;
class SqlStatement;
}

// Records every write-back a lookup dialog makes, in order.
class FakeTarget : public lookup::LookupTarget {
public:
    struct Write {
        voucher::LookupKind kind;
        int line;
        QString code;
        QString name;
    };
    void writeLookupChoice(voucher::LookupKind kind, int line, const QString& code, const QString& name) override
    {
        writes.append({kind, line, code, name});
    }
    QVector<Write> writes;
};

// The rows of an open statement, each as the named columns read as text.
QVector<QStringList> readRows(store::SqlStatement& statement, const QStringList& columns);


// Runs a comparison and returns from the test function if it failed.
#define RETURN_IF_FAILED(comparison)    \
    do {                                \
        comparison;                     \
        if (QTest::currentTestFailed()) \
            return;                     \
    } while (0)

// Compares two row lists row by row, so that a failure names the first
// differing row.
void compareRows(const QVector<QStringList>& actual, const QVector<QStringList>& expected);
#define COMPARE_ROWS(actual, expected) RETURN_IF_FAILED(compareRows((actual), (expected)))

// The same for rows ordered by their first column alone: the first columns
// in the same order, and the same rows, in whatever order ties came.
void compareOrderedRows(QVector<QStringList> actual, QVector<QStringList> expected);
#define COMPARE_ORDERED_ROWS(actual, expected) RETURN_IF_FAILED(compareOrderedRows((actual), (expected)))
