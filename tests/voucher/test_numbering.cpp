#include "core/errors.h"
#include "enginedb.h"
#include "voucher/numbering.h"
#include "store/statement.h"
#include "savevoucher.h"

#include <QTest>

class TestNumbering : public QObject {
    Q_OBJECT

    static QString next(store::Connection& c, const QString& date)
    {
        store::SqlStatement queryMax(c);
        return voucher::Serial_Jen_MaxValue(queryMax, date);
    }

    static QList<voucherseed::Line> oneLine()
    {
        return {{QStringLiteral("01"), QStringLiteral("40701004000"), QStringLiteral("복리후생비"), 15000,
                 QStringLiteral("야근 식대")}};
    }

private slots:
    void successorOfStoredMaximum_data() { addEngines(); }
    void successorOfStoredMaximum()
    {
        OPEN_ENGINE_DB(db, false);
        store::Connection& c = db.connection();
        QCOMPARE(next(c, QStringLiteral("2001-05-30")), QStringLiteral("2001-05-30-00000001"));

        voucherseed::insertRow(c, QStringLiteral("2001-05-30-00000003"), QStringLiteral("2001-05-30"));
        voucherseed::insertRow(c, QStringLiteral("2001-05-30-00000009"), QStringLiteral("2001-05-30"));
        voucherseed::insertRow(c, QStringLiteral("2001-05-31-00000050"), QStringLiteral("2001-05-31"));
        QCOMPARE(next(c, QStringLiteral("2001-05-30")), QStringLiteral("2001-05-30-00000010"));
        // Other dates keep their own sequence.
        QCOMPARE(next(c, QStringLiteral("2001-05-29")), QStringLiteral("2001-05-29-00000001"));
        QCOMPARE(next(c, QStringLiteral("2001-05-31")), QStringLiteral("2001-05-31-00000051"));

        // The statement object can be used again after a number was taken.
        store::SqlStatement queryMax(c);
        QCOMPARE(voucher::Serial_Jen_MaxValue(queryMax, QStringLiteral("2001-05-30")), QStringLiteral("2001-05-30-00000010"));
        QVERIFY(!queryMax.isOpen());
        QCOMPARE(voucher::Serial_Jen_MaxValue(queryMax, QStringLiteral("2001-05-31")), QStringLiteral("2001-05-31-00000051"));
    }

    void sequenceIsSharedByBranchesAndKinds_data() { addEngines(); }
    void sequenceIsSharedByBranchesAndKinds()
    {
        OPEN_ENGINE_DB(db, true);
        store::Connection& c = db.connection();
        const QString date = QStringLiteral("2001-06-01");
        QCOMPARE(voucherseed::saveVoucher(c, date, 0, oneLine()), QStringLiteral("2001-06-01-00000001"));
        QCOMPARE(voucherseed::saveVoucher(c, date, 2, oneLine()), QStringLiteral("2001-06-01-00000002"));
        // A receipt voucher of the same date takes part in the same sequence.
        voucherseed::insertRow(c, QStringLiteral("2001-06-01-00000007"), date, QStringLiteral("1"), QStringLiteral("A001"));
        QCOMPARE(voucherseed::saveVoucher(c, date, 1, oneLine()), QStringLiteral("2001-06-01-00000008"));
        voucherseed::insertRow(c, QStringLiteral("2001-06-01-00000011"), date, QStringLiteral("2"), QStringLiteral("B002"));
        QCOMPARE(next(c, date), QStringLiteral("2001-06-01-00000012"));
    }

    void foreignMaximumStopsTheSave_data() { addEngines(); }
    void foreignMaximumStopsTheSave()
    {
        OPEN_ENGINE_DB(db, true);
        store::Connection& c = db.connection();
        const QString date = QStringLiteral("2001-05-30");
        voucherseed::insertRow(c, QStringLiteral("2001-05-30-A0000001"), date, QStringLiteral("3"), QStringLiteral("B001"));
        QVERIFY_THROWS_EXCEPTION(core::ConversionError, voucherseed::saveVoucher(c, date, 0, oneLine()));
        QCOMPARE(voucherseed::voucherRowCount(c), qint64(1));

        // A maximum cut short before the sequence number is refused too.
        voucherseed::insertRow(c, QStringLiteral("2001-05-31"), QStringLiteral("2001-05-31"));
        QVERIFY_THROWS_EXCEPTION(core::ConversionError, next(c, QStringLiteral("2001-05-31")));
        // And so is a fraction.
        voucherseed::insertRow(c, QStringLiteral("2001-06-01-00001.50"), QStringLiteral("2001-06-01"));
        QVERIFY_THROWS_EXCEPTION(core::ConversionError, next(c, QStringLiteral("2001-06-01")));
        QCOMPARE(voucherseed::voucherRowCount(c), qint64(3));
        // The connection goes on working.
        QCOMPARE(voucherseed::saveVoucher(c, QStringLiteral("2001-06-02"), 0, oneLine()), QStringLiteral("2001-06-02-00000001"));
    }

    void dateIsBoundNotSpliced_data() { addEngines(); }
    void dateIsBoundNotSpliced()
    {
        OPEN_ENGINE_DB(db, false);
        store::Connection& c = db.connection();
        voucherseed::insertRow(c, QStringLiteral("2001-05-30-00000004"), QStringLiteral("2001-05-30"));
        // Spliced into the text, this would match every row or break the statement.
        const QString hostile = QStringLiteral("' or ''='");
        QCOMPARE(next(c, hostile), hostile + QStringLiteral("-00000001"));
        const QString quoted = QStringLiteral("2001'05'30");
        voucherseed::insertRow(c, quoted + QStringLiteral("-00000002"), quoted);
        QCOMPARE(next(c, quoted), quoted + QStringLiteral("-00000003"));
        QCOMPARE(voucherseed::voucherRowCount(c), qint64(2));
    }

    void sequencePastEightDigits_data() { addEngines(); }
    void sequencePastEightDigits()
    {
        OPEN_ENGINE_DB(db, false);
        voucherseed::insertRow(db.connection(), QStringLiteral("2001-05-30-99999999"), QStringLiteral("2001-05-30"));
        QCOMPARE(next(db.connection(), QStringLiteral("2001-05-30")), QStringLiteral("2001-05-30-100000000"));
    }

    void serialJoinsTheRowKey()
    {
        const QString number = QStringLiteral("2001-05-30-00000001");
        QCOMPARE(voucher::Serial_MaxValue(3, number, QStringLiteral("02"), QStringLiteral("A002*01")),
                 QStringLiteral("AA*00003*2*2001-05-30-00000001*02*A002*01"));
        QCOMPARE(voucher::Serial_MaxValue(3, number, QStringLiteral("02"), QStringLiteral("A002*02")),
                 QStringLiteral("AA*00003*2*2001-05-30-00000001*02*A002*02"));
        // Blanks anywhere in the three texts are dropped.
        QCOMPARE(voucher::Serial_MaxValue(0, QStringLiteral(" 2001-05-30- 00000012 "), QStringLiteral(" 0 5"),
                                        QStringLiteral("A002 * 01 ")),
                 QStringLiteral("AA*00000*2*2001-05-30-00000012*05*A002*01"));
        // No branch chosen: the position -1 as "00000" formats it.
        QCOMPARE(voucher::Serial_MaxValue(-1, number, QStringLiteral("01"), QStringLiteral("A002*01")),
                 QStringLiteral("AA*-00001*2*2001-05-30-00000001*01*A002*01"));
    }
};

QTEST_GUILESS_MAIN(TestNumbering)
#include "test_numbering.moc"
