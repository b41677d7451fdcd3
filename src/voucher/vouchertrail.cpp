#include "voucher/vouchertrail.h"

#include "core/strutil.h"

#include <QLocale>

namespace voucher {

namespace {

QStringList rowsStatement(const QString& where, const QString& order)
{
    return {QStringLiteral("Select  Serial_Bun, %1").arg(trailRowColumns().join(QStringLiteral(", "))),
            QStringLiteral("From    Account_Jen_AA"), QStringLiteral("Where   ") + where,
            QStringLiteral("Order By ") + order};
}

const QStringList& lineRowsStatement()
{
    static const QStringList s = rowsStatement(QStringLiteral("rtrim(Serial_Jen) + rtrim(Serial_Bun) = :tbSerial"),
                                               QStringLiteral("Serial_CrDr"));
    return s;
}

const QStringList& voucherRowsStatement()
{
    static const QStringList s =
        rowsStatement(QStringLiteral("rtrim(Serial_Jen) = :tbSerial"), QStringLiteral("Serial_Bun, Serial_CrDr"));
    return s;
}

const QStringList kRecordColumns = {QStringLiteral("operation"),   QStringLiteral("serial_jen"), QStringLiteral("serial_bun"),
                                    QStringLiteral("branch"),      QStringLiteral("date_day"),   QStringLiteral("done_by"),
                                    QStringLiteral("done_at"),     QStringLiteral("workstation"), QStringLiteral("before"),
                                    QStringLiteral("after"),       QStringLiteral("prev_hash"),  QStringLiteral("hash")};

QStringList appendStatement()
{
    QStringList parameters;
    for (const QString& column : kRecordColumns)
        parameters << QStringLiteral(":tb_") + column;
    return {QStringLiteral("Insert Into voucher_history (%1)").arg(kRecordColumns.join(QStringLiteral(", "))),
            QStringLiteral("Values (%1)").arg(parameters.join(QStringLiteral(", ")))};
}

// The closed date, the chain's last hash, the clock and the login in one
// round trip, read under the voucher table's lock.
QString headQuery(core::Engine engine)
{
    switch (engine) {
    case core::Engine::SQLite:
        return QStringLiteral("SELECT (SELECT max(closed_through) FROM closed_books), "
                              "(SELECT hash FROM voucher_history ORDER BY history_id DESC LIMIT 1), "
                              "strftime('%Y-%m-%d %H:%M:%f', 'now'), ''");
    case core::Engine::PostgreSQL:
        return QStringLiteral("SELECT (SELECT max(closed_through) FROM closed_books), "
                              "(SELECT hash FROM voucher_history ORDER BY history_id DESC LIMIT 1), "
                              "to_char(clock_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS.MS'), session_user");
    case core::Engine::SqlServer:
        return QStringLiteral("SELECT (SELECT MAX(closed_through) FROM closed_books), "
                              "(SELECT TOP 1 hash FROM voucher_history ORDER BY history_id DESC), "
                              "CONVERT(varchar(23), SYSUTCDATETIME(), 121), SUSER_SNAME()");
    }
    return {};
}

QString refusal(VoucherTrail::Change change, const QString& date, const QString& closed)
{
    switch (change) {
    case VoucherTrail::Change::Save:
        return QStringLiteral("기준일자 %1은(는) 마감된 기간입니다 (%2까지 마감). 마감 뒤의 날짜로 입력하세요....")
            .arg(date, closed);
    case VoucherTrail::Change::Correct:
        return QStringLiteral("%1 전표는 마감된 기간(%2까지 마감)에 있어 수정할 수 없습니다....").arg(date, closed);
    case VoucherTrail::Change::Delete:
        return QStringLiteral("%1 전표는 마감된 기간(%2까지 마감)에 있어 삭제할 수 없습니다....").arg(date, closed);
    }
    return {};
}

} // namespace

VoucherTrail::VoucherTrail(store::Connection& connection) : m_connection(connection), m_rows(connection), m_append(connection) {}

void VoucherTrail::prepare()
{
    // Only a head start: a broken connection, or a fault met here, is left
    // to the write unit, which answers it.
    if (m_connection.isBroken())
        return;
    try {
        for (const QStringList& lines : {lineRowsStatement(), voucherRowsStatement()}) {
            m_rows.close();
            m_rows.setLines(lines);
            m_rows.prepare();
        }
        m_append.close();
        m_append.setLines(appendStatement());
        m_append.prepare();
    } catch (const core::DbError&) {
    }
}

void VoucherTrail::begin()
{
    const QStringList head = m_connection.selectNative(headQuery(m_connection.engine())).value(0);
    m_closedThrough = head.value(0);
    m_lastHash = head.value(1);
    m_doneAt = head.value(2);
    m_doneBy = operatingSystemUser();
    if (!head.value(3).isEmpty())
        m_doneBy += QStringLiteral(" (%1)").arg(head.value(3));
    m_begun = true;
}

void VoucherTrail::begin(Change change, const QString& date)
{
    begin();
    // Dates are compared as written, yyyy-MM-dd, which sorts as the calendar does.
    if (!m_closedThrough.isEmpty() && core::Str_TrimRight(date) <= m_closedThrough)
        throw PeriodClosedError(refusal(change, core::Str_TrimRight(date), m_closedThrough), m_closedThrough);
}

QMap<QString, TrailLineRows> VoucherTrail::readRows(const QStringList& statement, const QString& key)
{
    store::SqlStatement& q = m_rows;
    q.close();
    q.setLines(statement);
    q.bindText(QStringLiteral("tbSerial"), key);
    q.open();
    QMap<QString, TrailLineRows> lines;
    const QStringList& columns = trailRowColumns();
    for (q.first(); !q.eof(); q.next()) {
        QStringList values;
        for (const QString& column : columns)
            values << (column.endsWith(QLatin1String("_Amt"))
                           ? QString::number(q.asFloat(column), 'g', QLocale::FloatingPointShortest)
                           : q.asText(column));
        TrailLineRows& line = lines[q.asText(QStringLiteral("Serial_Bun"))];
        line.text += (line.text.isEmpty() ? QString() : QStringLiteral("\n")) + trailRowText(values);
        line.date = q.asText(QStringLiteral("Date_Day"));
        line.branch = q.asText(QStringLiteral("Kubun_Bon"));
    }
    q.close();
    return lines;
}

TrailLineRows VoucherTrail::lineRows(const QString& serialJen, const QString& serialBun)
{
    const QMap<QString, TrailLineRows> lines =
        readRows(lineRowsStatement(), core::Str_RemoveBlanks(serialJen) + core::Str_RemoveBlanks(serialBun));
    return lines.isEmpty() ? TrailLineRows{} : lines.first();
}

QMap<QString, TrailLineRows> VoucherTrail::voucherRows(const QString& serialJen)
{
    return readRows(voucherRowsStatement(), core::Str_RemoveBlanks(serialJen));
}

TrailRecord VoucherTrail::append(const QString& operation, const QString& serialJen, const QString& serialBun,
                                 const QString& branch, const QString& date, const QString& before, const QString& after)
{
    if (!m_begun)
        throw core::DbError(QStringLiteral("전표 이력: begin() 없이 기록하려 했습니다."));
    TrailRecord r;
    r.operation = operation;
    r.serialJen = core::Str_RemoveBlanks(serialJen);
    r.serialBun = core::Str_RemoveBlanks(serialBun);
    r.branch = branch;
    r.date = core::Str_TrimRight(date);
    r.doneBy = m_doneBy.left(200);
    r.doneAt = m_doneAt;
    r.workstation = workstationName().left(100);
    r.before = before;
    r.after = after;
    r.prevHash = m_lastHash;
    r.hash = r.computedHash();
    const QStringList values = {r.operation, r.serialJen, r.serialBun, r.branch,  r.date,     r.doneBy,
                                r.doneAt,    r.workstation, r.before,  r.after,   r.prevHash, r.hash};
    m_append.close();
    m_append.setLines(appendStatement());
    for (qsizetype i = 0; i < kRecordColumns.size(); ++i)
        m_append.bindText(QStringLiteral("tb_") + kRecordColumns[i], values[i]);
    m_append.execute();
    m_lastHash = r.hash;
    return r;
}

QList<TrailRecord> VoucherTrail::lineHistory(const QString& serialJen, const QString& serialBun)
{
    store::SqlStatement q(m_connection);
    q.setLines({QStringLiteral("Select history_id, %1 From voucher_history").arg(kRecordColumns.join(QStringLiteral(", "))),
                QStringLiteral("Where serial_jen = :tbJen And serial_bun = :tbBun Order By history_id")});
    q.bindText(QStringLiteral("tbJen"), core::Str_RemoveBlanks(serialJen));
    q.bindText(QStringLiteral("tbBun"), core::Str_RemoveBlanks(serialBun));
    q.open();
    QList<TrailRecord> records;
    for (q.first(); !q.eof(); q.next()) {
        TrailRecord r;
        r.id = q.asInteger(QStringLiteral("history_id"));
        QString* fields[] = {&r.operation, &r.serialJen, &r.serialBun, &r.branch,   &r.date,     &r.doneBy,
                             &r.doneAt,    &r.workstation, &r.before,  &r.after,    &r.prevHash, &r.hash};
        for (qsizetype i = 0; i < kRecordColumns.size(); ++i)
            *fields[i] = q.asText(kRecordColumns[i]);
        records << r;
    }
    return records;
}

} // namespace voucher
