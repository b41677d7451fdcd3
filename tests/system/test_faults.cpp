#include "ledgercheck.h"
#include "programrun.h"

#include "store/connection.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

// A workstation killed hard (SIGKILL) while it saves: every voucher is stored
// whole or not at all, the file stays sound, and the program starts normally
// on it afterwards and saves again.
class TestFaults : public QObject {
    Q_OBJECT

    static QString crashSaver() { return QCoreApplication::applicationDirPath() + QStringLiteral("/system_crashsaver"); }

    static QStringList savedLines(QProcess& p)
    {
        return QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    static int storedVouchers(store::Connection& c)
    {
        QSqlQuery q(c.database());
        q.exec(QStringLiteral("select count(distinct serial_jen) from account_jen_AA where ac_text like 'ws%'"));
        q.next();
        return q.value(0).toInt();
    }

    // The file is sound, its vouchers whole, the program starts on it and a
    // further voucher is saved.
    static void verifyAfterKill(ProgramData& data, int expectedVouchers)
    {
        {
            auto c = store::Connection::openSqlite(data.databasePath());
            QSqlQuery check(c->database());
            QVERIFY(check.exec(QStringLiteral("PRAGMA integrity_check")) && check.next());
            QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
            check.finish();
            const QStringList problems = checkWholeVouchers(*c);
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
            QCOMPARE(storedVouchers(*c), expectedVouchers);
        }
        QString output;
        QVERIFY2(data.programStarts(&output), qPrintable(output));

        QProcess again;
        again.start(crashSaver(), {QStringLiteral("--sqlite"), data.databasePath(), QStringLiteral("--vouchers"),
                                   QStringLiteral("1")});
        QVERIFY(again.waitForFinished(30000));
        QCOMPARE(again.exitCode(), 0);
        auto c = store::Connection::openSqlite(data.databasePath());
        QCOMPARE(storedVouchers(*c), expectedVouchers + 1);
        QVERIFY(checkWholeVouchers(*c).isEmpty());
    }

private slots:
    void killedInsideTheSave_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("count");
        // Two vouchers of ten rows are saved first; the third dies.
        QTest::newRow("at its first row") << QStringLiteral("--kill-at-row") << 21;
        QTest::newRow("in the middle") << QStringLiteral("--kill-at-row") << 25;
        QTest::newRow("at its last row") << QStringLiteral("--kill-at-row") << 30;
        QTest::newRow("while committing") << QStringLiteral("--kill-at-commit") << 3;
    }
    void killedInsideTheSave()
    {
        QFETCH(QString, option);
        QFETCH(int, count);
        ProgramData data;
        QProcess p;
        p.start(crashSaver(), {QStringLiteral("--sqlite"), data.databasePath(), option, QString::number(count),
                               QStringLiteral("--vouchers"), QStringLiteral("10")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        QCOMPARE(savedLines(p).size(), 2);
        verifyAfterKill(data, 2);
    }

    void killedFromOutside()
    {
        ProgramData data;
        QStringList saved;
        for (int round = 0; round < 5; ++round) {
            QProcess p;
            p.start(crashSaver(), {QStringLiteral("--sqlite"), data.databasePath()});
            QVERIFY(p.waitForReadyRead(30000)); // saving by now
            QThread::usleep(QRandomGenerator::global()->bounded(20000));
            p.kill();
            QVERIFY(p.waitForFinished(30000));
            saved << savedLines(p);
        }
        QVERIFY(saved.size() >= 5);
        auto c = store::Connection::openSqlite(data.databasePath());
        // Everything it was told was saved is there; at most one more per kill
        // committed before its line was written out.
        const int stored = storedVouchers(*c);
        QVERIFY2(stored >= saved.size() && stored <= saved.size() + 5,
                 qPrintable(QStringLiteral("%1 stored, %2 reported").arg(stored).arg(saved.size())));
        for (const QString& line : saved) {
            QSqlQuery q(c->database());
            q.exec(QStringLiteral("select count(*) from account_jen_AA where serial_jen = '%1'").arg(line.section(u' ', 1, 1)));
            q.next();
            QCOMPARE(q.value(0).toInt(), 10);
        }
        c.reset();
        verifyAfterKill(data, stored);
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "test_faults.moc"
