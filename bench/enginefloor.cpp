#include "enginefloor.h"

#include "core/errors.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace enginefloor {

namespace {

QSqlQuery exec(store::Connection& c, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery q(c.database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(q.lastError().text());
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(q.lastError().text());
    return q;
}

int readAll(QSqlQuery q)
{
    int rows = 0;
    const int columns = q.record().count();
    while (q.next()) {
        for (int i = 0; i < columns; ++i)
            q.value(i);
        ++rows;
    }
    return rows;
}

void begin(store::Connection& c)
{
    c.finishPendingReads();
    if (c.engine() == store::Engine::SQLite)
        exec(c, QStringLiteral("BEGIN IMMEDIATE"));
    else if (!c.database().transaction())
        throw DbError(c.database().lastError().text());
}

void commit(store::Connection& c)
{
    if (c.engine() == store::Engine::SQLite)
        exec(c, QStringLiteral("COMMIT"));
    else if (!c.database().commit())
        throw DbError(c.database().lastError().text());
}

} // namespace

int listDay(store::Connection& c, const QString& date, const QString& branch)
{
    return readAll(exec(
        c,
        QStringLiteral(
            "select t.serial_jen, t.serial_bun, t.date_day, rtrim(k.kubun_name) || '/' || rtrim(k.kubun_jangso) as total, "
            "t.ac_text, rtrim(t.serial_jen) || rtrim(t.serial_bun) as serial_ttt, "
            "max(case when t.serial_crdr = '01' then rtrim(t.ac_jencode) else '' end) as ac_jencode1, "
            "max(case when t.serial_crdr = '01' then rtrim(t.ac_jenname) else '' end) as ac_jenname1, "
            "sum(case when t.serial_crdr = '01' then t.cr_amt else 0 end) as cr_amt1, "
            "max(case when t.serial_crdr = '02' then rtrim(t.ac_jencode) else '' end) as ac_jencode2, "
            "max(case when t.serial_crdr = '02' then rtrim(t.ac_jenname) else '' end) as ac_jenname2, "
            "sum(case when t.serial_crdr = '02' then t.dr_amt else 0 end) as dr_amt2 "
            "from account_jen_AA t join kubun_table k on k.kubun_code = t.kubun_bon "
            "where t.date_day = ? and t.kubun_bon = ? and t.kubun_jen = '2' and t.form_kubun = 'A002' "
            "and t.serial_crdr in ('01', '02') "
            "group by t.serial_jen, t.serial_bun, t.date_day, k.kubun_name, k.kubun_jangso, t.ac_text"),
        {date, branch}));
}

int readVoucher(store::Connection& c, const QString& serialJen)
{
    return readAll(exec(c, QStringLiteral("select * from account_jen_AA where serial_jen = ? and serial_crdr = '01'"),
                        {serialJen}));
}

QString insertVoucher(store::Connection& c, const QString& date, const QString& branch, int lines)
{
    begin(c);
    try {
        QSqlQuery max = exec(c, QStringLiteral("select max(serial_jen) from account_jen_AA where date_day = ?"), {date});
        max.next();
        const QString highest = max.value(0).toString().trimmed();
        const qint64 next = highest.isEmpty() ? 1 : highest.mid(11, 8).toLongLong() + 1;
        const QString number = date + QStringLiteral("-%1").arg(next, 8, 10, QLatin1Char('0'));
        QSqlQuery insert(c.database());
        insert.prepare(QStringLiteral(
            "insert into account_jen_AA (Serial, Serial_Jen, Serial_Bun, Serial_CrDr, Month_Char, Year_Char, "
            "Date_Day, Table_Kubun, Kubun_Bon, Kubun_Jen, Kubun_Amt, Form_Kubun, Giel_Serial, Ac_JenCode, "
            "Ac_JenName, Ac_Text, Item_Code, Item_Name, Kubun_Code, Kubun_Name, Project_Code, Project_Name, "
            "Buser_Code, Buser_Name, Sawon_Code, Sawon_Name, Cr_Amt, Dr_Amt, End_Day) values "
            "(?, ?, ?, ?, ?, ?, ?, 'AA', ?, '2', '5', 'A002', '999', ?, ?, ?, '', '', '', '', '', '', '', '', '', '', ?, ?, ?)"));
        for (int line = 1; line <= lines; ++line) {
            const QString bun = QStringLiteral("0%1").arg(line);
            for (const char* side : {"02", "01"}) {
                const bool debit = qstrcmp(side, "01") == 0;
                const QVariantList values = {
                    QStringLiteral("AA*%1*2*%2*%3*A002*%4").arg(branch, number, bun, QLatin1String(side)),
                    number, bun, QLatin1String(side), date.mid(5, 2), date.left(4), date, branch,
                    debit ? QStringLiteral("51101001000") : QStringLiteral("10101001000"),
                    debit ? QStringLiteral("여비교통비") : QStringLiteral("현금"),
                    QStringLiteral("기준 측정"), debit ? 10000.0 * line : 0.0, debit ? 0.0 : 10000.0 * line,
                    QDateTime::currentDateTime()};
                for (int i = 0; i < values.size(); ++i)
                    insert.bindValue(i, values[i]);
                if (!insert.exec())
                    throw DbError(insert.lastError().text());
            }
        }
        commit(c);
        return number;
    } catch (...) {
        c.database().rollback();
        if (c.engine() == store::Engine::SQLite)
            QSqlQuery(c.database()).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void updateLine(store::Connection& c, const QString& serialJen, const QString& serialBun, double amount)
{
    begin(c);
    const QString sql = QStringLiteral(
        "update account_jen_AA set ac_text = ?, cr_amt = ?, dr_amt = ?, end_day = ? "
        "where serial_jen = ? and serial_bun = ? and serial_crdr = ?");
    exec(c, sql, {QStringLiteral("기준 측정"), amount, 0.0, QDateTime::currentDateTime(), serialJen, serialBun,
                  QStringLiteral("01")});
    exec(c, sql, {QStringLiteral("기준 측정"), 0.0, amount, QDateTime::currentDateTime(), serialJen, serialBun,
                  QStringLiteral("02")});
    commit(c);
}

int deleteLine(store::Connection& c, const QString& serialJen, const QString& serialBun)
{
    c.finishPendingReads();
    exec(c, QStringLiteral("delete from account_jen_AA where serial_jen = ? and serial_bun = ?"), {serialJen, serialBun});
    QSqlQuery left = exec(c, QStringLiteral("select count(*) from account_jen_AA where serial_jen = ?"), {serialJen});
    left.next();
    return left.value(0).toInt();
}

} // namespace enginefloor
