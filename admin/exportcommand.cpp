#include "exportcommand.h"

#include "csvfilewriter.h"
#include "csvtext.h"
#include "masterrules.h"
#include "pgsession.h"
#include "progress.h"
#include "rowstream.h"
#include "sqlutil.h"
#include "tablecolumns.h"
#include "textshape.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "schema/schema.h"
#include "voucher/masterbook.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlQuery>
#include <optional>

namespace admin {

namespace {

const QString kLedgerTable = QStringLiteral("account_jen_AA");
// The part of a resident registration number after the hyphen.
const QString kResidentNumberTail = QStringLiteral("Sawon_Jumin02");
const QString kTrailTable = QStringLiteral("voucher_history");

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
        return formulaGuarded(core::Str_TrimRight(value.toString()));
    if (value.metaType().id() == QMetaType::QDateTime)
        return exportedTime(value.toDateTime());
    // The embedded file's times are already the text written here: parsing
    // and writing each again would give it back as it was, at a cost.
    if (value.metaType().id() == QMetaType::QString && hasShape(value.toString(), "0000-00-00T00:00:00.000"))
        return value.toString();
    bool number = false;
    const double amount = value.toDouble(&number);
    if (number)
        return core::shortestDecimal(amount);
    const QDateTime time = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
    return time.isValid() ? exportedTime(time) : value.toString();
}

void checkDate(const QString& date, const char* option)
{
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (!date.isEmpty() && !form.match(date).hasMatch())
        throw core::AppError(QStringLiteral("--%1: 날짜는 yyyy-MM-dd로 주십시오 (값: %2).").arg(QLatin1String(option), date));
    if (!date.isEmpty() && !QDate::fromString(date, QStringLiteral("yyyy-MM-dd")).isValid())
        throw core::AppError(QStringLiteral("--%1: 달력에 없는 날짜입니다 (값: %2).").arg(QLatin1String(option), date));
}

} // namespace

int runExport(const ExportOptions& o)
{
    const bool vouchers = o.table.compare(kLedgerTable, Qt::CaseInsensitive) == 0;
    const bool trail = o.table.compare(kTrailTable, Qt::CaseInsensitive) == 0;
    const MasterRules* rules = masterRules(o.table);
    if (!vouchers && !trail && !rules)
        throw core::AppError(QStringLiteral("내보낼 수 있는 테이블이 아닙니다: %1 (%2, %3, %4)")
                           .arg(o.table, importableTables().join(QStringLiteral(", ")), kLedgerTable, kTrailTable));
    if (rules && (!o.from.isEmpty() || !o.to.isEmpty() || !o.voucher.isEmpty()))
        throw core::AppError(QStringLiteral("--from, --to, --voucher는 전표 테이블 %1과 전표 이력 %2에만 쓸 수 있습니다.")
                           .arg(kLedgerTable, kTrailTable));
    checkDate(o.from, "from");
    checkDate(o.to, "to");
    if (!o.from.isEmpty() && !o.to.isEmpty() && o.from > o.to)
        throw core::AppError(QStringLiteral("--from %1이(가) --to %2보다 뒤입니다: 내보낼 날짜가 없습니다.").arg(o.from, o.to));

    OpenedTarget target = openTarget(o.target, store::Connection::ResultReading::ThroughCursor);
    store::Connection& c = *target.connection;
    say(QStringLiteral("대상: %1").arg(c.describe()));
    if (!schema::schemaExists(c))
        throw core::AppError(QStringLiteral("테이블이 없습니다. 먼저 init을 실행하십시오."));
    const QString table = vouchers ? kLedgerTable : trail ? kTrailTable : rules->table;
    const QList<TableColumn> columns = tableColumns(c, table);

    QStringList names;
    for (const TableColumn& column : columns)
        names << column.name;
    // The vouchers by their date; the trail by the day of the change (done_at, UTC).
    QStringList conditions;
    QStringList values; // bound to the conditions in order
    if (!o.from.isEmpty()) {
        conditions << (trail ? QStringLiteral("done_at >= ?") : QStringLiteral("Date_Day >= ?"));
        values << o.from;
    }
    if (!o.to.isEmpty()) {
        conditions << (trail ? QStringLiteral("done_at < ?") : QStringLiteral("Date_Day <= ?"));
        values << (trail ? QDate::fromString(o.to, Qt::ISODate).addDays(1).toString(Qt::ISODate) : o.to);
    }
    if (!o.voucher.isEmpty()) {
        conditions << (trail ? QStringLiteral("serial_jen = ?") : QStringLiteral("Serial_Jen = ?"));
        values << o.voucher.trimmed();
    }
    const QStringList order = vouchers ? QStringList{QStringLiteral("Date_Day"), QStringLiteral("Serial_Jen"),
                                                     QStringLiteral("Serial_Bun"), QStringLiteral("Serial_CrDr")}
                              : trail  ? QStringList{QStringLiteral("history_id")}
                                       : rules->keyColumns;
    const QString where = conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    const QString select = QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4")
                               .arg(names.join(QStringLiteral(", ")), table, where, order.join(QStringLiteral(", ")));
    const QString count = QStringLiteral("SELECT count(*) FROM %1%2").arg(table, where);
    // A snapshot, so that the count the progress goes by is the rows written.
    std::optional<AdminTransaction> snapshot;
    std::unique_ptr<PgSession> server;
    std::unique_ptr<RowStream> q;
    qint64 total = 0;
    if (c.engine() == core::Engine::PostgreSQL) {
        // A server's rows come by its COPY on a libpq connection of their own,
        // without the padding every text loses below.
        server = PgSession::openSnapshot(c);
        total = server->select(server->withConstants(count, values)).value(0).value(0).toLongLong();
        q = std::make_unique<RowStream>(*server, server->withConstants(select, values), RowStream::Padding::Dropped);
    } else {
        snapshot.emplace(c);
        QSqlQuery counted = prepareNative(c, count);
        for (qsizetype i = 0; i < values.size(); ++i)
            counted.bindValue(int(i), values[i]);
        execPrepared(c, counted);
        counted.next();
        total = counted.value(0).toLongLong();
        q = std::make_unique<RowStream>(c, select, values);
    }
    Progress progress(table, total);

    // Whole or not at all, and never through a link or into another user's file.
    CsvFileWriter file(o.file, o.encoding);
    QStringList fields;
    for (const QString& name : names)
        fields << schema::declaredColumnName(table, name);
    file.write(fields);
    QVector<bool> masked(columns.size(), false);
    for (qsizetype i = 0; i < columns.size(); ++i)
        masked[i] = !o.withResidentNumbers && fields[i].compare(kResidentNumberTail, Qt::CaseInsensitive) == 0;
    if (masked.contains(true))
        say(QStringLiteral("%1: 주민등록번호 뒷자리는 첫 숫자만 두고 가려 씁니다 (그대로 쓰려면 --with-resident-numbers).")
                .arg(kResidentNumberTail));
    qint64 rows = 0;
    while (q->next()) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            fields[i] = exported(q->value(int(i)), columns[i]);
            if (masked[i])
                fields[i] = voucher::maskResidentNumberTail(fields[i]);
        }
        file.write(fields);
        progress.advanceTo(++rows);
    }
    file.finish();
    say(QStringLiteral("%1: %2행을 %3(%4)에 썼습니다.").arg(table).arg(rows).arg(o.file, csvEncodingName(o.encoding)));
    return 0;
}

} // namespace admin
