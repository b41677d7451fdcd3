#include "ledgercheck.h"
#include "enginedb.h"
#include "voucherseed.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <memory>
#include <vector>

// Several workstations save, correct and delete vouchers of the same two
// dates at once, each through its own connection, for a few seconds.
// Afterwards every number is one voucher's, every line balances, and what
// each workstation was told is what the table holds.
class TestWorkstations : public QObject {
    Q_OBJECT

private slots:
    void workstationsAtOnce_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("workers");
        QTest::newRow("sqlite, four workstations") << QStringLiteral("sqlite") << 4;
        QTest::newRow("postgres, eight workstations") << QStringLiteral("postgres") << 8;
    }
    void workstationsAtOnce()
    {
        OPEN_ENGINE_DB(db, true);
        QFETCH(int, workers);
        constexpr int kSeconds = 4;
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/system_workstation");
        QVERIFY2(QFileInfo::exists(program), qPrintable(program));
        const QStringList target = db.isPostgres()
                                       ? QStringList{QStringLiteral("--odbc"), QStringLiteral("--schema"), db.schema()}
                                       : QStringList{QStringLiteral("--sqlite"), db.sqlitePath()};
        const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 1500;
        std::vector<std::unique_ptr<QProcess>> stations;
        for (int k = 0; k < workers; ++k) {
            auto p = std::make_unique<QProcess>();
            p->start(program, target + QStringList{QStringLiteral("--worker"), QString::number(k),
                                                   QStringLiteral("--seconds"), QString::number(kSeconds),
                                                   QStringLiteral("--dates"), QStringLiteral("2001-05-30,2001-05-31"),
                                                   QStringLiteral("--start-at"), QString::number(startAt)});
            QVERIFY2(p->waitForStarted(10000), qPrintable(p->errorString()));
            stations.push_back(std::move(p));
        }
        QStringList reports;
        for (auto& p : stations) {
            QVERIFY2(p->waitForFinished(120000), "a workstation did not finish");
            const QByteArray errors = p->readAllStandardError();
            QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0, errors.constData());
            const QStringList lines = QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
            QVERIFY2(!lines.isEmpty() && lines.last().startsWith(QLatin1String("done")), errors.constData());
            reports << lines;
        }

        const LedgerReport r = checkLedger(db.connection(), reports);
        QVERIFY2(r.problems.isEmpty(), qPrintable(r.problems.mid(0, 10).join(u'\n')));
        QVERIFY(r.saved > workers);
        QVERIFY(r.corrected > 0);
        QVERIFY(r.deleted > 0);
        QVERIFY(r.present > 0);
        // The office's own audit agrees: voucher-admin check finds nothing.
        QProcess audit;
        audit.start(QStringLiteral(VOUCHER_ADMIN), QStringList{QStringLiteral("check")} + target);
        QVERIFY(audit.waitForFinished(120000));
        QVERIFY2(audit.exitCode() == 0, audit.readAll().constData());
        qInfo("%d workstations: %d vouchers saved (%.1f a second), %d lines corrected, %d deleted", workers, r.saved,
              r.saved / double(kSeconds), r.corrected, r.deleted);
    }

    // The check itself finds what it is there to find.
    void checkFindsBrokenLedger_data() { addEngines(); }
    void checkFindsBrokenLedger()
    {
        OPEN_ENGINE_DB(db, true);
        auto row = [&](const QString& number, const QString& bun, const QString& side, const QString& tag, double amount,
                       const QString& branch = QStringLiteral("00000")) {
            voucherseed::Row r;
            r.serialJen = number;
            r.serialBun = bun;
            r.serialCrDr = side;
            r.date = QStringLiteral("2001-05-30");
            r.branch = branch;
            r.line.text = tag;
            r.line.amount = amount;
            voucherseed::insertRow(db.connection(), r);
        };
        const QString a = QStringLiteral("2001-05-30-00000001");
        const QString b = QStringLiteral("2001-05-30-00000002");
        row(a, QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("ws0-1-1"), 1000);
        row(a, QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("ws0-1-1"), 1000);
        row(a, QStringLiteral("02"), QStringLiteral("01"), QStringLiteral("ws1-1-1"), 1000, QStringLiteral("00001"));
        row(a, QStringLiteral("02"), QStringLiteral("02"), QStringLiteral("ws1-1-1"), 1000, QStringLiteral("00001"));
        row(b, QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("ws0-2-2"), 500);
        row(b, QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("ws0-2-2"), 400);
        row(b, QStringLiteral("02"), QStringLiteral("01"), QStringLiteral("ws0-2-2"), 500);

        const LedgerReport r = checkLedger(db.connection(), {QStringLiteral("saved %1 ws0-1-1 0 01:1000").arg(a),
                                                             QStringLiteral("saved %1 ws1-1-1 1 02:1000").arg(a),
                                                             QStringLiteral("saved %1 ws0-2-2 0 01:500,02:500").arg(b),
                                                             QStringLiteral("saved 2001-05-30-00000003 ws0-3-1 0 01:9")});
        const QString all = r.problems.join(u'\n');
        QVERIFY2(all.contains(QLatin1String("2001-05-30-00000001 is shared by 2 vouchers")), qPrintable(all));
        QVERIFY2(all.contains(QLatin1String("2001-05-30-00000002 line 01: debit 500/0, credit 0/400")), qPrintable(all));
        QVERIFY2(all.contains(QLatin1String("2001-05-30-00000002 line 02 has 1 rows")), qPrintable(all));
        QVERIFY2(all.contains(QLatin1String("saved voucher 2001-05-30-00000003 (ws0-3-1) is not stored")), qPrintable(all));
        const QStringList whole = checkWholeVouchers(db.connection());
        QVERIFY2(whole.join(u'\n').contains(QLatin1String("(ws0-2-2) has 1 of its 2 lines")), qPrintable(whole.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(TestWorkstations)
#include "test_workstations.moc"
