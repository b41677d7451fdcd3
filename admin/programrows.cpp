#include "programrows.h"

#include "sqlutil.h"

namespace {

struct NeededRow {
    const char* table;
    const char* keyColumn;
    QStringList columns;
    QStringList values;
};

// The cash account as the entry window writes it on every credit row.
QList<NeededRow> neededRows()
{
    QList<NeededRow> rows;
    for (int n = 1; n <= 7; ++n)
        rows.append({"Jen_Print", "Tot", {QStringLiteral("Tot")}, {QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'))}});
    rows.append({"test_ac_code",
                 "ac_code",
                 {QStringLiteral("ac_code"), QStringLiteral("ac_name"), QStringLiteral("bigo"), QStringLiteral("code_kubun"),
                  QStringLiteral("a_kubun"), QStringLiteral("b_kubun"), QStringLiteral("c_kubun")},
                 {QStringLiteral("10101001000"), QStringLiteral("현금"),
                  QStringLiteral("자산 > 유동자산 > 당좌자산 : 보유 현금 및 소액현금"), QStringLiteral("SSSSS"),
                  QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("01")}});
    return rows;
}

bool rowExists(store::Connection& c, const NeededRow& row)
{
    QSqlQuery q = prepareNative(c, QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?")
                                       .arg(QLatin1String(row.table), QLatin1String(row.keyColumn)));
    q.bindValue(0, row.values.first());
    execPrepared(c, q);
    return q.next() && q.value(0).toLongLong() > 0;
}

} // namespace

void addProgramRows(store::Connection& connection)
{
    for (const NeededRow& row : neededRows())
        if (!rowExists(connection, row))
            insertTexts(connection, QLatin1String(row.table), row.columns, {row.values});
}
