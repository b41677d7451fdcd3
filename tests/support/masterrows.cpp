#include "masterrows.h"

#include "core/strutil.h"
#include "enginedb.h"
#include "sql/dialect.h"
#include "store/connection.h"
#include "store/statement.h"
#include "voucher/masterbook.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

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

QStringList resultColumns(const store::SqlStatement& statement)
{
    QStringList columns;
    for (int column = 0; column < statement.columnCount(); ++column)
        columns << statement.columnName(column);
    return columns;
}

QVector<QStringList> readAsWritten(store::Connection& c, const QString& text, const QString& parameter,
                                   const QString& searchText, const QStringList& columns)
{
    QVector<QStringList> rows;
    QSqlQuery q(c.database());
    q.setForwardOnly(true);
    bool ran = q.prepare(sql::translateSql(text, c.engine(), /*asWritten=*/true));
    if (ran) {
        q.bindValue(u':' + parameter, voucher::searchPattern(searchText));
        ran = q.exec();
    }
    if (!ran) {
        QTest::qFail(qPrintable(q.lastError().text()), __FILE__, __LINE__);
        return rows;
    }
    while (q.next()) {
        QStringList row;
        for (const QString& column : columns)
            row << core::Str_TrimRight(q.value(q.record().indexOf(column)).toString());
        rows.append(row);
    }
    return rows;
}

void addParties(const QString& table, const QString& prefix, int count, const QString& name)
{
    const bool banks = table == QLatin1String("Bank_Table");
    QStringList rows;
    for (int i = 0; i < count; ++i) {
        const QString number = QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
        rows << QStringLiteral("('%1%2', '%3 %2', %4)")
                    .arg(prefix, number, name,
                         banks ? QStringLiteral("'110-22-333'") : QStringLiteral("'123', '45', '67890'"));
    }
    execSql(store::Connection::account(), QStringLiteral("insert into %1 values ").arg(table) + rows.join(u','));
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
