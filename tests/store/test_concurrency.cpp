#include "enginedb.h"
#include "store/statement.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <memory>
#include <vector>

// Four workstations save vouchers of the same date at the same moment. The
// write unit must keep every voucher number unique and every voucher whole.
class TestConcurrency : public QObject {
    Q_OBJECT

    static constexpr int kWorkers = 4;
    static constexpr int kVouchersEach = 50;

    struct Voucher {
        int branch = -1;
        int lines = 0;
    };

private slots:
    void fourWorkstationsSaveOneDate_data() { addEngines(); }
    void fourWorkstationsSaveOneDate()
    {
        OPEN_ENGINE_DB(db, false);
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/store_voucher_writer");
        QVERIFY2(QFileInfo::exists(program), qPrintable(program));
        const QString date = QStringLiteral("2001-05-30");
        const QString target = db.isPostgres() ? db.schema() : db.sqlitePath();
        const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 1500;

        std::vector<std::unique_ptr<QProcess>> workers;
        for (int w = 0; w < kWorkers; ++w) {
            auto p = std::make_unique<QProcess>();
            p->start(program, {engine, target, date, QString::number(kVouchersEach), QString::number(w),
                               QString::number(startAt)});
            QVERIFY2(p->waitForStarted(10000), qPrintable(p->errorString()));
            workers.push_back(std::move(p));
        }

        QMap<QString, Voucher> reported;
        int reports = 0;
        for (auto& p : workers) {
            QVERIFY2(p->waitForFinished(60000), "a workstation did not finish within a minute");
            const QByteArray errors = p->readAllStandardError();
            QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0, errors.constData());
            for (const QByteArray& line : p->readAllStandardOutput().split('\n')) {
                const QList<QByteArray> parts = line.trimmed().split(' ');
                if (parts.size() != 3)
                    continue;
                ++reports;
                reported[QString::fromLatin1(parts[0])] = {parts[1].toInt(), parts[2].toInt()};
            }
        }
        const qint64 elapsed = QDateTime::currentMSecsSinceEpoch() - startAt;
        QCOMPARE(reports, kWorkers * kVouchersEach);
        QCOMPARE(reported.size(), kWorkers * kVouchersEach); // no number given twice

        // The numbers run 1..200 without gaps: none was skipped or reused.
        for (int n = 1; n <= kWorkers * kVouchersEach; ++n)
            QVERIFY2(reported.contains(date + QStringLiteral("-%1").arg(n, 8, 10, QLatin1Char('0'))), qPrintable(QString::number(n)));

        // Every reported voucher is stored whole: one debit and one credit row per line.
        store::SqlStatement q(db.connection());
        q.addLine(QStringLiteral("Select Serial_Jen, Serial_Bun, Serial_CrDr, Kubun_Bon, Cr_Amt, Dr_Amt"));
        q.addLine(QStringLiteral("From   Account_Jen_AA"));
        q.open();
        QMap<QString, QSet<QString>> sides; // number -> "line/side"
        QMap<QString, QSet<QString>> branches;
        int rows = 0;
        for (q.first(); !q.eof(); q.next()) {
            ++rows;
            const QString number = q.asText(QStringLiteral("Serial_Jen"));
            const QString side = q.asText(QStringLiteral("Serial_CrDr"));
            sides[number].insert(q.asText(QStringLiteral("Serial_Bun")) + u'/' + side);
            branches[number].insert(q.asText(QStringLiteral("Kubun_Bon")));
            const double amount = side == QLatin1String("01") ? q.asFloat(QStringLiteral("Cr_Amt"))
                                                                : q.asFloat(QStringLiteral("Dr_Amt"));
            QVERIFY(amount > 0);
        }
        int expectedRows = 0;
        for (auto it = reported.cbegin(); it != reported.cend(); ++it) {
            QSet<QString> expected;
            for (int n = 1; n <= it->lines; ++n) {
                expected.insert(QStringLiteral("0%1/01").arg(n));
                expected.insert(QStringLiteral("0%1/02").arg(n));
            }
            expectedRows += 2 * it->lines;
            QCOMPARE(sides.value(it.key()), expected);
            QCOMPARE(branches.value(it.key()), QSet<QString>{QStringLiteral("%1").arg(it->branch, 5, 10, QLatin1Char('0'))});
        }
        QCOMPARE(sides.size(), reported.size());
        QCOMPARE(rows, expectedRows);
        qInfo("%s: %d workstations saved %d vouchers (%d rows) in %lld ms", qPrintable(engine), kWorkers,
              int(reported.size()), rows, elapsed);
    }
};

QTEST_GUILESS_MAIN(TestConcurrency)
#include "test_concurrency.moc"
