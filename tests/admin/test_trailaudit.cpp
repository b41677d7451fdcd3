// voucher-admin check against a trail changed behind the program's back, and
// the logins add-clerk and add-admin make; on SQLite and PostgreSQL.
#include "core/errors.h"
#include "enginedb.h"
#include "savevoucher.h"
#include "voucher/voucherbook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>

namespace {

int admin(const QStringList& args, QString* output)
{
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../voucher-admin"), args);
    if (!p.waitForFinished(120000))
        return -1;
    *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QStringList targetOf(const EngineDb& db)
{
    if (db.isPostgres())
        return {QStringLiteral("--odbc"), QStringLiteral("--schema"), db.schema()};
    return {QStringLiteral("--sqlite"), db.sqlitePath()};
}

// A record as someone with the file or the owner's login would add it: chained and hashed.
void insertRecord(store::Connection& c, const voucher::TrailRecord& r)
{
    QSqlQuery q(c.database());
    q.prepare(QStringLiteral("INSERT INTO voucher_history (operation, serial_jen, serial_bun, branch, date_day, done_by, "
                             "done_at, workstation, before, after, prev_hash, hash) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (const QString& v : {r.operation, r.serialJen, r.serialBun, r.branch, r.date, r.doneBy, r.doneAt, r.workstation,
                             r.before, r.after, r.prevHash, r.hash})
        q.addBindValue(v);
    QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
}

} // namespace

class TestTrailAudit : public QObject {
    Q_OBJECT
private slots:
    void checkNamesWhatBrokeTheTrail_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("tamper");
        QTest::addColumn<QString>("finding"); // %1: the voucher number
        for (const char* engine : {"sqlite", "postgres"}) {
            QTest::addRow("%s, untouched", engine) << engine << "" << "이상 없음";
            QTest::addRow("%s, changed", engine) << engine << "changed" << "(save, 전표 %1 줄 01)의 내용이 바뀌었습니다";
            QTest::addRow("%s, removed", engine) << engine << "removed" << "(delete, 전표 %1 줄 02) 앞의 기록이 지워졌거나";
            QTest::addRow("%s, inserted", engine) << engine << "inserted" << "(correct, 전표 %1 줄 01)은(는) 끼워 넣은 기록";
            QTest::addRow("%s, rows", engine) << engine << "rows" << "전표 %1 줄 01: 전표 행이 전표 이력의 마지막 기록";
        }
    }
    void checkNamesWhatBrokeTheTrail()
    {
        OPEN_ENGINE_DB(db, true);
        QFETCH(QString, tamper);
        QFETCH(QString, finding);
        store::Connection& c = db.connection();
        const QString number = voucherseed::saveVoucher(
            c, QStringLiteral("2001-05-30"), 0,
            {{QStringLiteral("01"), QStringLiteral("40701005000"), QStringLiteral("여비교통비"), 5000},
             {QStringLiteral("02"), QStringLiteral("40701006000"), QStringLiteral("접대비"), 7000}});
        voucher::VoucherBook book(c);
        QCOMPARE(book.deleteLine(number, QStringLiteral("02")), 2);
        const voucher::TrailRecord first = book.lineHistory(number, QStringLiteral("01")).first();

        // The append-only triggers lifted first, as the file's or schema's owner can.
        if (db.isPostgres())
            execSql(c, QStringLiteral("ALTER TABLE voucher_history DISABLE TRIGGER USER"));
        else
            for (const char* t : {"tr_history_no_update", "tr_history_no_delete"})
                execSql(c, QStringLiteral("DROP TRIGGER %1").arg(QLatin1String(t)));
        const QString second = QStringLiteral("(SELECT min(history_id) + 1 FROM voucher_history)");
        if (tamper == QLatin1String("changed"))
            execSql(c, QStringLiteral("UPDATE voucher_history SET after = replace(after, 'Cr_Amt=5000', 'Cr_Amt=500') "
                                      "WHERE history_id = %1 - 1").arg(second));
        if (tamper == QLatin1String("removed"))
            execSql(c, QStringLiteral("DELETE FROM voucher_history WHERE history_id = %1").arg(second));
        if (tamper == QLatin1String("inserted")) {
            voucher::TrailRecord forged = first;
            forged.operation = QStringLiteral("correct");
            forged.prevHash = first.hash; // chained onto the first record, not onto the last
            forged.hash = forged.computedHash();
            insertRecord(c, forged);
        }
        if (tamper == QLatin1String("rows"))
            execSql(c, QStringLiteral("UPDATE account_jen_AA SET Ac_Text = 'x' WHERE Serial_Bun = '01'"));

        QString output;
        QCOMPARE(admin(QStringList{QStringLiteral("check")} + targetOf(db), &output), tamper.isEmpty() ? 0 : 1);
        QVERIFY2(output.contains(finding.arg(number)), qPrintable(output));

        // Exported by voucher and by the day of the change (today, on the database's clock).
        const QString file = QDir(QDir::tempPath()).filePath(QStringLiteral("trail-%1.csv").arg(QCoreApplication::applicationPid()));
        const QString today = first.doneAt.left(10);
        for (const auto& [options, rows] : {std::pair{QStringList{QStringLiteral("--voucher"), number}, 3},
                                            std::pair{QStringList{QStringLiteral("--from"), today, QStringLiteral("--to"), today}, 3},
                                            std::pair{QStringList{QStringLiteral("--to"), QStringLiteral("2001-05-30")}, 0}}) {
            if (!tamper.isEmpty())
                break;
            QFile::remove(file);
            QCOMPARE(admin(QStringList{QStringLiteral("export"), QStringLiteral("voucher_history"), file} + options + targetOf(db), &output), 0);
            QVERIFY2(output.contains(QStringLiteral("voucher_history: %1행").arg(rows)), qPrintable(output));
        }
        QFile::remove(file);
    }

    void loginsCannotRewriteTheTrail_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("command");
        QTest::newRow("sqlite, clerk") << "sqlite" << "add-clerk";
        QTest::newRow("postgres, clerk") << "postgres" << "add-clerk";
        QTest::newRow("postgres, admin") << "postgres" << "add-admin";
    }
    void loginsCannotRewriteTheTrail()
    {
        OPEN_ENGINE_DB(db, true);
        QFETCH(QString, command);
        store::Connection& c = db.connection();
        const QString role = QStringLiteral("l_") + db.schema().toLower();
        QString output;
        const int code = admin(QStringList{command, db.isPostgres() ? role : QStringLiteral("kim")} + targetOf(db), &output);
        if (!db.isPostgres()) {
            QCOMPARE(code, 1);
            QVERIFY2(output.contains(QStringLiteral("서버(PostgreSQL)")), qPrintable(output));
            return;
        }
        QCOMPARE(code, 0);
        const bool clerk = command == QLatin1String("add-clerk");
        execSql(c, QStringLiteral("SET ROLE ") + role);
        // What the program does works: reading the masters, saving a voucher with its record.
        const QString number = voucherseed::saveVoucher(
            c, QStringLiteral("2001-05-30"), 0, {{QStringLiteral("01"), QStringLiteral("40701005000"), QStringLiteral("여비교통비"), 5000}});
        QCOMPARE(selectOne(c, QStringLiteral("SELECT count(*) FROM voucher_history")).value(0).toInt(), 1);
        // statement, refused for this login
        const QList<std::pair<const char*, bool>> attempts = {
            {"UPDATE voucher_history SET done_by = 'x'", true},   {"DELETE FROM voucher_history", true},
            {"TRUNCATE voucher_history", true},                   {"UPDATE kubun_table SET kubun_name = 'x'", clerk},
            {"DELETE FROM Sale_Table", clerk},                    {"INSERT INTO closed_books VALUES ('2000-01-01')", clerk},
        };
        for (const auto& [sql, refused] : attempts) {
            bool failed = false;
            try {
                c.execNative(QLatin1String(sql));
            } catch (const core::DbError&) {
                failed = true;
            }
            QVERIFY2(failed == refused, sql);
        }
        execSql(c, QStringLiteral("RESET ROLE"));
        QCOMPARE(selectOne(c, QStringLiteral("SELECT count(*) FROM voucher_history")).value(0).toInt(), 1);
        QVERIFY(!number.isEmpty());
        execSql(c, QStringLiteral("DROP OWNED BY %1").arg(role));
        execSql(c, QStringLiteral("DROP ROLE %1").arg(role));
    }
};

QTEST_MAIN(TestTrailAudit)
#include "test_trailaudit.moc"
