#include "exportcommand.h"

#include "csvtext.h"
#include "masterrules.h"
#include "sqlutil.h"
#include "tablecolumns.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "schema/schema.h"
#include "store/privatefiles.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlQuery>

namespace {

const QString kVoucherTable = QStringLiteral("account_jen_AA");
constexpr qint64 kProgressStep = 100000;

// One form of a time whichever engine holds it: a server hands out a date
// and time, the embedded file the text the program stored (ISO 8601 with
// milliseconds, the form written here).
QString exportedTime(const QDateTime& time)
{
    return time.toString(Qt::ISODateWithMs);
}

QString exported(const QVariant& value, const TableColumn& column)
{
    if (value.isNull())
        return {};
    if (column.text)
        return formulaGuarded(Str_TrimRight(value.toString()));
    if (value.metaType().id() == QMetaType::QDateTime)
        return exportedTime(value.toDateTime());
    bool number = false;
    const double amount = value.toDouble(&number);
    if (number)
        return shortestDecimal(amount);
    const QDateTime time = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
    return time.isValid() ? exportedTime(time) : value.toString();
}

void checkDate(const QString& date, const char* option)
{
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (!date.isEmpty() && !form.match(date).hasMatch())
        throw AppError(QStringLiteral("--%1: 날짜는 yyyy-MM-dd로 주십시오 (값: %2).").arg(QLatin1String(option), date));
    if (!date.isEmpty() && !QDate::fromString(date, QStringLiteral("yyyy-MM-dd")).isValid())
        throw AppError(QStringLiteral("--%1: 달력에 없는 날짜입니다 (값: %2).").arg(QLatin1String(option), date));
}

// The first cell the code page cannot hold, named by row and column: the
// encoder only says that there is one.
QString unheldCell(const QString& text, const QString& fileName)
{
    const QList<CsvRecord> records = parseCsv(text);
    for (qsizetype row = 1; row < records.size(); ++row)
        for (qsizetype i = 0; i < records[row].fields.size(); ++i) {
            const QString lacking = cp949Lacks(records[row].fields[i]);
            if (!lacking.isEmpty())
                return QStringLiteral("%1: %2번째 행(%3번째 줄) %4 열에 CP949에 없는 글자 \"%5\"이(가) 있습니다. "
                                      "--encoding utf-8로 내보내십시오. 아무것도 쓰지 않았습니다.")
                    .arg(fileName)
                    .arg(row)
                    .arg(records[row].line)
                    .arg(records[0].fields.value(i), lacking);
        }
    return QStringLiteral("%1: CP949에 없는 글자가 있어 UTF-8로만 쓸 수 있습니다. 아무것도 쓰지 않았습니다.").arg(fileName);
}

} // namespace

int runExport(const ExportOptions& o)
{
    const bool vouchers = o.table.compare(kVoucherTable, Qt::CaseInsensitive) == 0;
    const MasterRules* rules = masterRules(o.table);
    if (!vouchers && !rules)
        throw AppError(QStringLiteral("내보낼 수 있는 테이블이 아닙니다: %1 (%2, %3)")
                           .arg(o.table, importableTables().join(QStringLiteral(", ")), kVoucherTable));
    if (!vouchers && (!o.from.isEmpty() || !o.to.isEmpty()))
        throw AppError(QStringLiteral("--from과 --to는 전표 테이블 %1에만 쓸 수 있습니다.").arg(kVoucherTable));
    checkDate(o.from, "from");
    checkDate(o.to, "to");
    if (!o.from.isEmpty() && !o.to.isEmpty() && o.from > o.to)
        throw AppError(QStringLiteral("--from %1이(가) --to %2보다 뒤입니다: 내보낼 날짜가 없습니다.").arg(o.from, o.to));

    OpenedTarget target = openTarget(o.target);
    store::Connection& c = *target.connection;
    say(QStringLiteral("대상: %1").arg(c.describe()));
    if (!store::schemaExists(c))
        throw AppError(QStringLiteral("테이블이 없습니다. 먼저 init을 실행하십시오."));
    const QString table = vouchers ? kVoucherTable : rules->table;
    const QList<TableColumn> columns = tableColumns(c, table);

    QStringList names;
    for (const TableColumn& column : columns)
        names << column.name;
    QStringList conditions;
    if (!o.from.isEmpty())
        conditions << QStringLiteral("Date_Day >= ?");
    if (!o.to.isEmpty())
        conditions << QStringLiteral("Date_Day <= ?");
    const QStringList order = vouchers ? QStringList{QStringLiteral("Date_Day"), QStringLiteral("Serial_Jen"),
                                                     QStringLiteral("Serial_Bun"), QStringLiteral("Serial_CrDr")}
                                       : rules->keyColumns;
    QSqlQuery q = prepareNative(c, QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4")
                                       .arg(names.join(QStringLiteral(", ")), table,
                                            conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND ")),
                                            order.join(QStringLiteral(", "))));
    q.setForwardOnly(true);
    int bound = 0;
    for (const QString& date : {o.from, o.to})
        if (!date.isEmpty())
            q.bindValue(bound++, date);
    execPrepared(c, q);

    QStringList header;
    for (const QString& name : names)
        header << store::declaredColumnName(table, name);
    QString text = csvLine(header);
    qint64 rows = 0;
    while (q.next()) {
        QStringList fields;
        for (qsizetype i = 0; i < columns.size(); ++i)
            fields << exported(q.value(int(i)), columns[i]);
        text += csvLine(fields);
        if (++rows % kProgressStep == 0)
            say(QStringLiteral("  %1행").arg(rows));
    }
    QByteArray bytes;
    try {
        bytes = encodeCsvFile(text, o.encoding, o.file);
    } catch (const AppError&) {
        throw AppError(unheldCell(text, o.file));
    }
    // Whole or not at all, and never through a link or into another user's file.
    store::writePrivateFile(o.file, bytes, store::ExistingName::ReplaceOwn);
    say(QStringLiteral("%1: %2행을 %3(%4)에 썼습니다.").arg(table).arg(rows).arg(o.file, csvEncodingName(o.encoding)));
    return 0;
}
