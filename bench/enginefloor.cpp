#include "enginefloor.h"

#include "core/errors.h"
#include "schema/voucherform.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

// Reads every value of every row, then lets the result go (an open read
// would hold the SQLite file against the next write).
int readAll(QSqlQuery& q)
{
    int rows = 0;
    const int columns = q.record().count();
    while (q.next()) {
        for (int i = 0; i < columns; ++i)
            q.value(i);
        ++rows;
    }
    q.finish();
    return rows;
}

} // namespace

QSqlQuery& EngineFloor::prepared(const QString& sql)
{
    std::unique_ptr<QSqlQuery>& q = m_prepared[sql];
    if (!q) {
        q = std::make_unique<QSqlQuery>(c.database());
        q->setForwardOnly(true);
        if (!q->prepare(sql))
            throw core::DbError(q->lastError().text());
    }
    return *q;
}

QSqlQuery& EngineFloor::exec(const QString& sql, const QVariantList& values)
{
    QSqlQuery& q = prepared(sql);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec())
        throw core::DbError(q.lastError().text());
    if (!q.isSelect())
        q.finish();
    return q;
}

void EngineFloor::begin()
{
    c.finishPendingReads();
    if (c.engine() == core::Engine::SQLite)
        exec(QStringLiteral("BEGIN IMMEDIATE"));
    else if (!c.database().transaction())
        throw core::DbError(c.database().lastError().text());
}

void EngineFloor::commit()
{
    if (c.engine() == core::Engine::SQLite)
        exec(QStringLiteral("COMMIT"));
    else if (!c.database().commit())
        throw core::DbError(c.database().lastError().text());
}

int EngineFloor::listDay(const QString& date, const QString& branch)
{
    // Left to itself SQLite reads the whole date through ix_jen_date_serial
    // and drops the other branches; the window reads the date and branch only.
    const QString voucherTable = c.engine() == core::Engine::SQLite
                                     ? QStringLiteral("account_jen_AA t indexed by ix_jen_date_bon")
                                     : QStringLiteral("account_jen_AA t");
    return readAll(exec(
        QStringLiteral(
            "select t.serial_jen, t.serial_bun, t.date_day, rtrim(k.kubun_name) || '/' || rtrim(k.kubun_jangso) as total, "
            "t.ac_text, rtrim(t.serial_jen) || rtrim(t.serial_bun) as serial_ttt, "
            "max(case when t.serial_crdr = '01' then rtrim(t.ac_jencode) else '' end) as ac_jencode1, "
            "max(case when t.serial_crdr = '01' then rtrim(t.ac_jenname) else '' end) as ac_jenname1, "
            "sum(case when t.serial_crdr = '01' then t.cr_amt else 0 end) as cr_amt1, "
            "max(case when t.serial_crdr = '02' then rtrim(t.ac_jencode) else '' end) as ac_jencode2, "
            "max(case when t.serial_crdr = '02' then rtrim(t.ac_jenname) else '' end) as ac_jenname2, "
            "sum(case when t.serial_crdr = '02' then t.dr_amt else 0 end) as dr_amt2 "
            "from %1 join kubun_table k on k.kubun_code = t.kubun_bon "
            "where t.date_day = ? and t.kubun_bon = ? and t.kubun_jen = '%2' and t.form_kubun = '%3' "
            "and t.serial_crdr in ('01', '02') "
            "group by t.serial_jen, t.serial_bun, t.date_day, k.kubun_name, k.kubun_jangso, t.ac_text")
            .arg(voucherTable, QLatin1String(schema::kWithdrawalKind), QLatin1String(schema::kWithdrawalForm)),
        {date, branch}));
}

int EngineFloor::readVoucher(const QString& serialJen)
{
    readAll(exec(QStringLiteral("select distinct serial_bun from account_jen_AA where serial_jen = ?"), {serialJen}));
    return readAll(exec(QStringLiteral("select * from account_jen_AA where serial_jen = ? and serial_crdr = '01'"),
                        {serialJen}));
}

QString EngineFloor::insertVoucher(const QString& date, const QString& branch, int lines)
{
    begin();
    try {
        QSqlQuery& max = exec(QStringLiteral("select max(serial_jen) from account_jen_AA where date_day = ?"), {date});
        max.next();
        const QString highest = max.value(0).toString().trimmed();
        max.finish();
        const qint64 next = highest.isEmpty() ? 1 : highest.mid(11, 8).toLongLong() + 1;
        const QString number = date + QStringLiteral("-%1").arg(next, 8, 10, QLatin1Char('0'));
        const QStringList columns = schema::voucherColumnNames();
        QSqlQuery& insert = prepared(QStringLiteral("insert into %1 (%2) values (%3)")
                                         .arg(QLatin1String(schema::kVoucherTable), columns.join(QStringLiteral(", ")),
                                              QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
        for (int line = 1; line <= lines; ++line) {
            for (const char* side : {schema::kCreditSide, schema::kDebitSide}) {
                const bool debit = qstrcmp(side, schema::kDebitSide) == 0;
                schema::VoucherRow row{.serialJen = number, .serialBun = QStringLiteral("0%1").arg(line),
                                     .side = QLatin1String(side), .date = date, .branch = branch};
                row.accountCode = debit ? QStringLiteral("51101001000") : QLatin1String(schema::kCashCode);
                row.accountName = debit ? QStringLiteral("여비교통비") : schema::cashName();
                row.text = QStringLiteral("기준 측정");
                row.crAmt = debit ? 10000.0 * line : 0.0;
                row.drAmt = debit ? 0.0 : 10000.0 * line;
                row.endDay = QDateTime::currentDateTime();
                const QVector<QVariant> values = schema::voucherRowValues(row);
                for (int i = 0; i < values.size(); ++i)
                    insert.bindValue(i, values[i]);
                if (!insert.exec())
                    throw core::DbError(insert.lastError().text());
            }
        }
        commit();
        return number;
    } catch (...) {
        c.database().rollback();
        if (c.engine() == core::Engine::SQLite)
            QSqlQuery(c.database()).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void EngineFloor::updateLine(const QString& serialJen, const QString& serialBun, double amount)
{
    begin();
    const QString sql = QStringLiteral(
        "update account_jen_AA set ac_text = ?, cr_amt = ?, dr_amt = ?, end_day = ? "
        "where serial_jen = ? and serial_bun = ? and serial_crdr = ?");
    exec(sql, {QStringLiteral("기준 측정"), amount, 0.0, QDateTime::currentDateTime(), serialJen, serialBun,
                  QStringLiteral("01")});
    exec(sql, {QStringLiteral("기준 측정"), 0.0, amount, QDateTime::currentDateTime(), serialJen, serialBun,
                  QStringLiteral("02")});
    commit();
}

int EngineFloor::deleteLine(const QString& serialJen, const QString& serialBun)
{
    c.finishPendingReads();
    exec(QStringLiteral("delete from account_jen_AA where serial_jen = ? and serial_bun = ?"), {serialJen, serialBun});
    QSqlQuery& left = exec(QStringLiteral("select count(*) from account_jen_AA where serial_jen = ?"), {serialJen});
    left.next();
    const int rows = left.value(0).toInt();
    left.finish();
    return rows;
}

