#include "deskstore.h"

#include "store/connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace testdesk {

const QString kFaultText = QStringLiteral("시험용 오류: 저장을 거부합니다");

qint64 nativeCount(store::Connection& c, const QString& where)
{
    const auto rows = c.selectNative(QStringLiteral("SELECT count(*) FROM account_jen_AA WHERE ") + where);
    return rows.isEmpty() ? -1 : rows.first().first().toLongLong();
}

QVector<QStringList> voucherRows(store::Connection& c, const QString& serialJen, const QString& columns)
{
    // SQLite keeps the insertion order in rowid; elsewhere the clock of each
    // write orders the rows, line and side breaking ties.
    const QString order = c.engine() == core::Engine::SQLite
                              ? QStringLiteral("rowid")
                              : QStringLiteral("End_Day, Serial_Bun, Serial_CrDr DESC");
    return c.selectNative(QStringLiteral("SELECT %1 FROM account_jen_AA WHERE rtrim(Serial_Jen) = '%2' ORDER BY %3")
                             .arg(columns, serialJen, order));
}

namespace {

void exec(store::Connection& c, const QString& sql)
{
    QSqlQuery q(c.database());
    if (!q.exec(sql))
        QFAIL(qPrintable(sql + QStringLiteral(": ") + q.lastError().text()));
}

bool sqlite(store::Connection& c)
{
    return c.engine() == core::Engine::SQLite;
}

void definePostgresFault(store::Connection& c)
{
    exec(c, QStringLiteral("CREATE OR REPLACE FUNCTION fault_raise() RETURNS trigger LANGUAGE plpgsql AS "
                           "$$ BEGIN RAISE EXCEPTION '%1'; END $$")
                .arg(kFaultText));
}

} // namespace

void failInsertsOfLine(store::Connection& c, const QString& serialBun)
{
    if (sqlite(c)) {
        exec(c, QStringLiteral("CREATE TRIGGER fault_insert BEFORE INSERT ON account_jen_AA "
                               "WHEN rtrim(NEW.Serial_Bun) = '%1' BEGIN SELECT RAISE(ABORT, '%2'); END")
                    .arg(serialBun, kFaultText));
        return;
    }
    definePostgresFault(c);
    exec(c, QStringLiteral("CREATE TRIGGER fault_insert BEFORE INSERT ON account_jen_aa FOR EACH ROW "
                           "WHEN (rtrim(NEW.serial_bun) = '%1') EXECUTE FUNCTION fault_raise()")
                .arg(serialBun));
}

void failCreditUpdates(store::Connection& c)
{
    if (sqlite(c)) {
        exec(c, QStringLiteral("CREATE TRIGGER fault_update BEFORE UPDATE ON account_jen_AA "
                               "WHEN rtrim(NEW.Serial_CrDr) = '02' BEGIN SELECT RAISE(ABORT, '%1'); END")
                    .arg(kFaultText));
        return;
    }
    definePostgresFault(c);
    exec(c, QStringLiteral("CREATE TRIGGER fault_update BEFORE UPDATE ON account_jen_aa FOR EACH ROW "
                           "WHEN (rtrim(NEW.serial_crdr) = '02') EXECUTE FUNCTION fault_raise()"));
}

void failCommits(store::Connection& c)
{
    if (sqlite(c)) {
        // A deferred foreign key is checked only at COMMIT.
        exec(c, QStringLiteral("PRAGMA foreign_keys = ON"));
        exec(c, QStringLiteral("CREATE TABLE fault_parent (id INTEGER PRIMARY KEY)"));
        exec(c, QStringLiteral("CREATE TABLE fault_child (parent INTEGER REFERENCES fault_parent(id) "
                               "DEFERRABLE INITIALLY DEFERRED)"));
        exec(c, QStringLiteral("CREATE TRIGGER fault_commit AFTER INSERT ON account_jen_AA "
                               "BEGIN INSERT INTO fault_child VALUES (1); END"));
        return;
    }
    definePostgresFault(c);
    exec(c, QStringLiteral("CREATE CONSTRAINT TRIGGER fault_commit AFTER INSERT ON account_jen_aa "
                           "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION fault_raise()"));
}

void removeFaults(store::Connection& c)
{
    for (const char* name : {"fault_insert", "fault_update", "fault_commit"})
        exec(c, sqlite(c) ? QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(QLatin1String(name))
                          : QStringLiteral("DROP TRIGGER IF EXISTS %1 ON account_jen_aa").arg(QLatin1String(name)));
}

} // namespace testdesk
