#include "importusedcodes.h"

#include "masterrules.h"

namespace admin {


namespace {

QString keyOf(const OrphanCode& orphan)
{
    return orphan.column + u'\x1f' + orphan.code;
}

} // namespace

QList<OrphanCode> orphanVoucherCodes(WriteSession& connection, const QString& table)
{
    QList<OrphanCode> orphans;
    for (const VoucherCodeColumn& column : voucherCodeColumns()) {
        bool provided = false;
        QStringList absent;
        for (const QString& master : column.masters) {
            provided = provided || master.section(u'.', 0, 0).compare(table, Qt::CaseInsensitive) == 0;
            absent << QStringLiteral("NOT EXISTS (SELECT 1 FROM %1 m WHERE m.%2 = v.%3)")
                          .arg(master.section(u'.', 0, 0), master.section(u'.', 1), QLatin1String(column.column));
        }
        if (!provided)
            continue;
        const QString name = QLatin1String(column.column);
        for (const QStringList& row : connection.select(
                 QStringLiteral("SELECT rtrim(v.%1), count(*) FROM account_jen_AA v WHERE rtrim(v.%1) <> '' AND %2 "
                                "GROUP BY rtrim(v.%1) ORDER BY 1")
                     .arg(name, absent.join(QStringLiteral(" AND ")))))
            orphans.append({QString::fromUtf8(column.label), name, row.value(0), row.value(1).toLongLong()});
    }
    return orphans;
}

QString referencedCodeColumn(const QString& table)
{
    for (const VoucherCodeColumn& column : voucherCodeColumns())
        for (const QString& master : column.masters)
            if (master.section(u'.', 0, 0).compare(table, Qt::CaseInsensitive) == 0)
                return master.section(u'.', 1);
    return {};
}

bool replaceRemovesCodes(WriteSession& connection, const QString& table, const QSet<QString>& codes)
{
    const QString column = referencedCodeColumn(table);
    if (column.isEmpty())
        return false;
    for (const QStringList& row : connection.select(QStringLiteral("SELECT rtrim(%1) FROM %2").arg(column, table)))
        if (!codes.contains(row.value(0)))
            return true;
    return false;
}

QList<OrphanCode> newOrphans(const QList<OrphanCode>& before, const QList<OrphanCode>& after)
{
    QSet<QString> known;
    for (const OrphanCode& orphan : before)
        known.insert(keyOf(orphan));
    QList<OrphanCode> added;
    for (const OrphanCode& orphan : after)
        if (!known.contains(keyOf(orphan)))
            added << orphan;
    return added;
}

} // namespace admin
