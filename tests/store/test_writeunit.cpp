#include "core/errors.h"
#include "enginedb.h"
#include "store/statement.h"
#include "store/writeunit.h"
#include "savevoucher.h"

#include <QTest>

class TestWriteUnit : public QObject {
    Q_OBJECT

private slots:
    void rollsBackUnlessCommitted_data() { addEngines(); }
    void rollsBackUnlessCommitted()
    {
        OPEN_ENGINE_DB(db, false);
        store::Connection& c = db.connection();
        {
            store::WriteUnit unit(c);
            voucherseed::insertRow(c, QStringLiteral("2001-05-30-00000001"), QStringLiteral("2001-05-30"));
            voucherseed::insertRow(c, QStringLiteral("2001-05-30-00000001"), QStringLiteral("2001-05-30"));
            QCOMPARE(voucherseed::voucherRowCount(c), qint64(2)); // the unit sees its own rows
        }
        QCOMPARE(voucherseed::voucherRowCount(c), qint64(0));

        {
            store::WriteUnit unit(c);
            voucherseed::insertRow(c, QStringLiteral("2001-05-30-00000001"), QStringLiteral("2001-05-30"));
            unit.rollback();
            unit.rollback(); // a second rollback does nothing
        }
        QCOMPARE(voucherseed::voucherRowCount(c), qint64(0));

        {
            store::WriteUnit unit(c);
            voucherseed::insertRow(c, QStringLiteral("2001-05-30-00000001"), QStringLiteral("2001-05-30"));
            unit.commit();
        }
        QCOMPARE(voucherseed::voucherRowCount(c), qint64(1));
        if (!db.isPostgres()) // committed means on the disk, power cut or not
            QCOMPARE(c.selectNative(QStringLiteral("PRAGMA synchronous")).value(0).value(0), QStringLiteral("2"));
        // Committed rows are visible to another workstation.
        auto other = db.attach();
        QCOMPARE(voucherseed::voucherRowCount(*other), qint64(1));
    }

    void failedStatementInsideTheUnit_data() { addEngines(); }
    void failedStatementInsideTheUnit()
    {
        OPEN_ENGINE_DB(db, false);
        store::Connection& c = db.connection();
        try {
            store::WriteUnit unit(c);
            voucherseed::insertRow(c, QStringLiteral("2001-05-30-00000001"), QStringLiteral("2001-05-30"));
            store::SqlStatement bad(c);
            bad.addLine(QStringLiteral("Insert Into No_Such_Table (a) Values (:tbA)"));
            bad.bindText(QStringLiteral("tbA"), QStringLiteral("x"));
            bad.execute();
            QFAIL("the insert into a missing table was accepted");
        } catch (const core::DbError& e) {
            QVERIFY2(e.text().contains(QLatin1String("no_such_table"), Qt::CaseInsensitive), qPrintable(e.text()));
        }
        // Nothing of the unit remains and the connection works on, also for the next unit.
        QCOMPARE(voucherseed::voucherRowCount(c), qint64(0));
        const QString number = voucherseed::saveVoucher(c, QStringLiteral("2001-05-30"), 0,
                                               {{QStringLiteral("01"), QStringLiteral("40701004000"),
                                                 QStringLiteral("복리후생비"), 5000, QString()}});
        QCOMPARE(number, QStringLiteral("2001-05-30-00000001"));
        QCOMPARE(voucherseed::voucherRowCount(c), qint64(2));
    }

    // The unit notes on its connection how long it held the voucher table's
    // lock, once it lets it go, by commit or by rollback.
    void notesHowLongItHeldTheLock_data() { addEngines(); }
    void notesHowLongItHeldTheLock()
    {
        OPEN_ENGINE_DB(db, false);
        store::Connection& c = db.connection();
        c.noteLockHeld(-1);
        {
            store::WriteUnit unit(c);
            voucherseed::insertRow(c, QStringLiteral("2001-05-30-00000001"), QStringLiteral("2001-05-30"));
            QTest::qSleep(30);
            QCOMPARE(c.lastLockHeldNs(), qint64(-1)); // still held
            unit.commit();
        }
        QVERIFY2(c.lastLockHeldNs() >= 30'000'000, qPrintable(QString::number(c.lastLockHeldNs())));
        c.noteLockHeld(-1);
        {
            store::WriteUnit unit(c);
        }
        QVERIFY(c.lastLockHeldNs() >= 0);
    }

    void readersGoOnWhileAVoucherIsWritten_data() { addEngines(); }
    void readersGoOnWhileAVoucherIsWritten()
    {
        OPEN_ENGINE_DB(db, false);
        voucherseed::insertRow(db.connection(), QStringLiteral("2001-05-29-00000001"), QStringLiteral("2001-05-29"));
        auto reader = db.attach();
        store::WriteUnit unit(db.connection());
        voucherseed::insertRow(db.connection(), QStringLiteral("2001-05-30-00000001"), QStringLiteral("2001-05-30"));
        // Another workstation lists vouchers meanwhile and sees the last committed state.
        QCOMPARE(voucherseed::voucherRowCount(*reader), qint64(1));
        unit.commit();
        QCOMPARE(voucherseed::voucherRowCount(*reader), qint64(2));
    }

    void partlyReadResultDoesNotBlockWriting_data() { addEngines(); }
    void partlyReadResultDoesNotBlockWriting()
    {
        OPEN_ENGINE_DB(db, false);
        store::Connection& c = db.connection();
        {
            store::WriteUnit unit(c);
            for (int i = 0; i < 700; ++i)
                voucherseed::insertRow(c, QStringLiteral("2001-05-29-%1").arg(i + 1, 8, 10, QLatin1Char('0')), QStringLiteral("2001-05-29"));
            unit.commit();
        }
        // A grid showing a long list has read only its first rows ...
        store::SqlStatement grid(c);
        grid.addLine(QStringLiteral("Select Serial_Jen From Account_Jen_AA Order By Serial_Jen"));
        grid.open();
        QVERIFY(grid.fetchedRows() < 700);
        // ... while another workstation saves a voucher ...
        auto other = db.attach();
        voucherseed::insertRow(*other, QStringLiteral("2001-05-30-00000001"), QStringLiteral("2001-05-30"));
        // ... and then this one saves, through the write unit and through a plain statement.
        QCOMPARE(voucherseed::saveVoucher(c, QStringLiteral("2001-05-30"), 1,
                                 {{QStringLiteral("01"), QStringLiteral("40701004000"), QStringLiteral("복리후생비"), 3000, QString()}}),
                 QStringLiteral("2001-05-30-00000002"));
        store::SqlStatement list(c);
        list.addLine(QStringLiteral("Select Serial_Jen From Account_Jen_AA"));
        list.open();
        voucherseed::insertRow(*other, QStringLiteral("2001-05-30-00000003"), QStringLiteral("2001-05-30"));
        voucherseed::insertRow(c, QStringLiteral("2001-05-30-00000004"), QStringLiteral("2001-05-30"));
        // The grid keeps the rows it was showing.
        QCOMPARE(grid.rowCount(), 700);
        QCOMPARE(voucherseed::voucherRowCount(c), qint64(700 + 1 + 2 + 1 + 1));
    }

    void secondWriterWaitsForTheUnit_data() { addEngines(); }
    void secondWriterWaitsForTheUnit()
    {
        OPEN_ENGINE_DB(db, false);
        auto other = db.attach();
        // Wait briefly instead of the usual half minute, so the test sees the refusal.
        other->execNative(db.isPostgres() ? QStringLiteral("SET lock_timeout = '300ms'")
                                          : QStringLiteral("PRAGMA busy_timeout = 300"));
        {
            store::WriteUnit unit(db.connection());
            QVERIFY_THROWS_EXCEPTION(core::DbError, store::WriteUnit{*other});
        }
        // Once the first unit is gone the other workstation gets its turn.
        store::WriteUnit second(*other);
        voucherseed::insertRow(*other, QStringLiteral("2001-05-30-00000001"), QStringLiteral("2001-05-30"));
        second.commit();
        QCOMPARE(voucherseed::voucherRowCount(db.connection()), qint64(1));
    }
};

QTEST_GUILESS_MAIN(TestWriteUnit)
#include "test_writeunit.moc"
