#include "lookuptestkit.h"

#include "core/strutil.h"
#include "store/connection.h"
#include "store/statement.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <algorithm>

QVector<QStringList> readRows(store::SqlStatement& statement, const QStringList& columns)
{
    QVector<QStringList> rows;
    if (!statement.isOpen())
        return rows;
    const int saved = statement.currentRow();
    for (statement.first(); !statement.eof(); statement.next()) {
        QStringList row;
        for (const QString& column : columns)
            row << statement.asText(column);
        rows.append(row);
    }
    statement.setCurrentRow(saved);
    return rows;
}


void compareRows(const QVector<QStringList>& actual, const QVector<QStringList>& expected)
{
    for (int i = 0; i < std::min(actual.size(), expected.size()); ++i)
        QCOMPARE(actual[i], expected[i]);
    QCOMPARE(actual.size(), expected.size());
}

void compareOrderedRows(QVector<QStringList> actual, QVector<QStringList> expected)
{
    const auto keys = [](const QVector<QStringList>& rows) {
        QStringList first;
        for (const QStringList& r : rows)
            first << r.value(0);
        return first;
    };
    QCOMPARE(keys(actual), keys(expected));
    std::sort(actual.begin(), actual.end());
    std::sort(expected.begin(), expected.end());
    compareRows(actual, expected);
}
