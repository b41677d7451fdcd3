#include "systemdb.h"

#include "core/errors.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

SystemDb::SystemDb(const QString& engine, bool demoData)
{
    if (engine == QLatin1String("postgres"))
        m_connection = testdb::postgres(demoData, &m_schema);
    else
        m_connection = testdb::sqlite(m_dir, demoData);
}

SystemDb::~SystemDb()
{
    m_connection.reset();
    if (!m_schema.isEmpty())
        testdb::dropPostgresSchema(m_schema);
}

QString SystemDb::sqlitePath() const
{
    return m_dir.filePath(QStringLiteral("Account.db"));
}

std::unique_ptr<store::Connection> SystemDb::attach() const
{
    if (!m_schema.isEmpty())
        return testdb::postgresAttach(m_schema);
    return store::Connection::openSqlite(sqlitePath());
}

void insertRawRow(store::Connection& c, const RawRow& r)
{
    QSqlQuery q(c.database());
    q.prepare(QStringLiteral(
        "INSERT INTO account_jen_AA (Serial, Serial_Jen, Serial_Bun, Serial_CrDr, Month_Char, Year_Char, Date_Day, "
        "Table_Kubun, Kubun_Bon, Kubun_Jen, Kubun_Amt, Form_Kubun, Giel_Serial, Ac_JenCode, Ac_JenName, Ac_Text, "
        "Item_Code, Item_Name, Kubun_Code, Kubun_Name, Project_Code, Project_Name, Buser_Code, Buser_Name, "
        "Sawon_Code, Sawon_Name, Cr_Amt, Dr_Amt, End_Day) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, 'AA', ?, ?, '5', ?, '999', ?, ?, ?, '', '', '', '', '', '', '', '', '', '', ?, ?, ?)"));
    const bool debit = r.serialCrDr == QLatin1String("01");
    const QVariantList values = {
        QStringLiteral("AA*%1*%2*%3*%4*%5*%6").arg(r.branch, r.kubunJen, r.serialJen, r.serialBun, r.form, r.serialCrDr),
        r.serialJen,
        r.serialBun,
        r.serialCrDr,
        r.date.mid(5, 2),
        r.date.left(4),
        r.date,
        r.branch,
        r.kubunJen,
        r.form,
        debit ? QStringLiteral("51101001000") : QStringLiteral("10101001000"),
        debit ? QStringLiteral("여비교통비") : QStringLiteral("현금"),
        r.acText,
        debit ? r.amount : 0.0,
        debit ? 0.0 : r.amount,
        QDateTime::currentDateTime(),
    };
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(q.lastError().text());
}

QVariantList selectOne(store::Connection& c, const QString& sql)
{
    QSqlQuery q(c.database());
    if (!q.exec(sql))
        throw DbError(q.lastError().text());
    QVariantList out;
    if (q.next()) {
        for (int i = 0; i < q.record().count(); ++i)
            out << q.value(i);
    }
    return out;
}

void addEngineRows()
{
    QTest::addColumn<QString>("engine");
    QTest::newRow("sqlite") << QStringLiteral("sqlite");
    QTest::newRow("postgres") << QStringLiteral("postgres");
}
