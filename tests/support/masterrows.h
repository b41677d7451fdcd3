#pragma once

#include <QString>
#include <QStringList>
#include <QTest>
#include <QVector>

namespace store {
class Connection;
class SqlStatement;
}

// Master rows for the lookups' tests: written in bulk, read back from an
// open statement or from a statement as written, and compared row by row.

// The rows of an open statement, each as the named columns read as text.
QVector<QStringList> readRows(store::SqlStatement& statement, const QStringList& columns);
// Every column of an open statement's result, in its order.
QStringList resultColumns(const store::SqlStatement& statement);

// A statement as written, without the rewrites that only change how the
// engine reads it, read whole for a search text: the named columns as
// text. A failure fails the test (see QTest::currentTestFailed()).
QVector<QStringList> readAsWritten(store::Connection& c, const QString& text, const QString& parameter,
                                   const QString& searchText, const QStringList& columns);

// `count` customers or banks coded prefix + 0000, 0001, …, named after them,
// in the program's data source.
void addParties(const QString& table, const QString& prefix, int count, const QString& name);

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
