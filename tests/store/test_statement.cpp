#include "core/errors.h"
#include "enginedb.h"
#include "store/statement.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTest>

class TestStatement : public QObject {
    Q_OBJECT

    static void insertBranch(store::Connection& c, const QString& code, const QString& name, const QString& place)
    {
        store::SqlStatement q(c);
        q.addLine(QStringLiteral("Insert Into Kubun_Table (Kubun_Code, Kubun_Name, Kubun_JangSo)"));
        q.addLine(QStringLiteral("Values (:tbCode, :tbName, :tbPlace)"));
        q.bindText(QStringLiteral("tbCode"), code);
        q.bindText(QStringLiteral("tbName"), name);
        q.bindText(QStringLiteral("tbPlace"), place);
        QCOMPARE(q.execute(), 1);
    }

private slots:
    void bindsTextFloatAndDateTime_data() { addEngines(); }
    void bindsTextFloatAndDateTime()
    {
        OPEN_ENGINE_DB(db, false);
        const QDateTime written(QDate(2001, 5, 30), QTime(14, 25, 36));
        store::SqlStatement q(db.connection());
        q.addLine(QStringLiteral("Insert Into Account_Jen_AA (Serial_Jen, Date_Day, Ac_JenName, Cr_Amt, Dr_Amt, End_Day)"));
        q.addLine(QStringLiteral("Values (:tbSerial_Jen, :tbDate_Day, :tbAc_JenName, :tbCr_Amt, :tbDr_Amt, :tbEnd_Day)"));
        q.bindText(QStringLiteral("tbSerial_Jen"), QStringLiteral("2001-05-30-00000001"));
        q.bindText(QStringLiteral("tbDate_Day"), QStringLiteral("2001-05-30"));
        q.bindText(QStringLiteral("TBAC_JENNAME"), QStringLiteral("복리후생비 '식대'")); // names bind without regard to case
        q.bindFloat(QStringLiteral("tbCr_Amt"), -1234567.0);
        q.bindFloat(QStringLiteral("tbDr_Amt"), 0.5);
        q.bindDateTime(QStringLiteral("tbEnd_Day"), written);
        QCOMPARE(q.execute(), 1);

        q.clearText();
        q.addLine(QStringLiteral("Select Ac_JenName, Cr_Amt, Dr_Amt, End_Day From Account_Jen_AA"));
        q.addLine(QStringLiteral("Where  rtrim(Serial_Jen) = :tbSerial_Jen"));
        q.open();
        QCOMPARE(q.rowCount(), 1);
        QCOMPARE(q.asText(QStringLiteral("Ac_JenName")), QStringLiteral("복리후생비 '식대'"));
        QCOMPARE(q.asFloat(QStringLiteral("Cr_Amt")), -1234567.0);
        QCOMPARE(q.asFloat(QStringLiteral("Dr_Amt")), 0.5);
        QCOMPARE(q.value(0, q.columnIndex(QStringLiteral("End_Day"))).toDateTime(), written);
    }

    void oneBindingFillsEveryOccurrence_data() { addEngines(); }
    void oneBindingFillsEveryOccurrence()
    {
        OPEN_ENGINE_DB(db, true);
        store::SqlStatement q(db.connection());
        q.addLine(QStringLiteral("Select Kubun_Code From Kubun_Table"));
        q.addLine(QStringLiteral("Where rtrim(Kubun_Name) like :tbName or rtrim(Kubun_JangSo) like :tbName"));
        q.addLine(QStringLiteral("   or rtrim(Kubun_Code) like :tbName"));
        q.addLine(QStringLiteral("Order By Kubun_Code"));
        q.bindText(QStringLiteral("tbName"), QStringLiteral("%부산%"));
        q.open();
        QCOMPARE(q.rowCount(), 1);
        QCOMPARE(q.asText(QStringLiteral("Kubun_Code")), QStringLiteral("00001"));
        // The same statement again with a new value for all three places.
        q.close();
        q.bindText(QStringLiteral("tbName"), QStringLiteral("%0000%"));
        q.open();
        QCOMPARE(q.rowCount(), 5);
    }

    void walksRowsByColumnName_data() { addEngines(); }
    void walksRowsByColumnName()
    {
        OPEN_ENGINE_DB(db, true);
        insertBranch(db.connection(), QStringLiteral("00099"), QStringLiteral("  제주지점  "), QStringLiteral("제주   "));
        store::SqlStatement q(db.connection());
        q.addLine(QStringLiteral("Select Kubun_Code, Kubun_Name, Kubun_JangSo From Kubun_Table Order By Kubun_Code"));
        q.open();
        QCOMPARE(q.rowCount(), 6);
        QVERIFY(!q.isEmpty());
        QStringList codes;
        for (q.first(); !q.eof(); q.next())
            codes << q.asText(QStringLiteral("kubun_code"));
        QCOMPARE(codes, QStringList({"00000", "00001", "00002", "00003", "00004", "00099"}));
        QVERIFY(q.eof());
        q.next(); // past the end it stays there
        QVERIFY(q.eof());
        QVERIFY_THROWS_EXCEPTION(core::DbError, q.asText(QStringLiteral("Kubun_Code")));

        q.first();
        QVERIFY(!q.eof());
        QCOMPARE(q.asText(QStringLiteral("KUBUN_NAME")), QStringLiteral("본사"));
        QCOMPARE(q.asText(QStringLiteral("Kubun_jangso")), QStringLiteral("서울"));
        QVERIFY(q.locate(QStringLiteral("kubun_code"), QStringLiteral("00099")));
        // Trailing blanks go, leading blanks stay.
        QCOMPARE(q.asText(QStringLiteral("Kubun_Name")), QStringLiteral("  제주지점"));
        QCOMPARE(q.asText(QStringLiteral("Kubun_JangSo")), QStringLiteral("제주"));
        QVERIFY(!q.locate(QStringLiteral("Kubun_Code"), QStringLiteral("77777")));
        QCOMPARE(q.currentRow(), 5);
        QVERIFY_THROWS_EXCEPTION(core::DbError, q.asText(QStringLiteral("No_Such_Column")));

        // A count read as an integer, a line number read back as text.
        q.clearText();
        q.addLine(QStringLiteral("Select Count(*) As Cnt From Jen_Print"));
        q.open();
        QCOMPARE(q.asInteger(QStringLiteral("cnt")), qint64(7));
        q.clearText();
        q.addLine(QStringLiteral("Select Tot From Jen_Print Where rtrim(Tot) = :tbTot"));
        q.bindText(QStringLiteral("tbTot"), QStringLiteral("03"));
        q.open();
        QCOMPARE(q.asText(QStringLiteral("Tot")), QStringLiteral("03"));
        QCOMPARE(q.asInteger(QStringLiteral("Tot")), qint64(3));
    }

    void emptyResultAndLargeResult_data() { addEngines(); }
    void emptyResultAndLargeResult()
    {
        OPEN_ENGINE_DB(db, false);
        store::SqlStatement q(db.connection());
        q.addLine(QStringLiteral("Select Tot From Jen_Print"));
        q.open();
        QVERIFY(q.isEmpty());
        QCOMPARE(q.rowCount(), 0);
        QVERIFY(q.eof());

        // More rows than one batch of reading.
        store::SqlStatement ins(db.connection());
        ins.addLine(QStringLiteral("Insert Into Jen_Print (Tot) Values (:tbTot)"));
        QSqlDatabase raw = db.connection().database();
        QVERIFY(raw.transaction());
        for (int i = 0; i < 700; ++i) {
            ins.bindText(QStringLiteral("tbTot"), QString::number(i % 100));
            ins.execute();
        }
        QVERIFY(raw.commit());
        q.open();
        QSignalSpy fetched(&q, &store::SqlStatement::rowsFetched);
        int walked = 0;
        for (q.first(); !q.eof(); q.next())
            ++walked;
        QCOMPARE(walked, 700);
        QVERIFY(fetched.count() >= 2);
        QCOMPARE(q.rowCount(), 700);
        q.close();
        QVERIFY(!q.isOpen());
        QVERIFY(q.eof());
    }

    void engineErrorKeepsTheConnection_data() { addEngines(); }
    void engineErrorKeepsTheConnection()
    {
        OPEN_ENGINE_DB(db, true);
        store::SqlStatement q(db.connection());
        q.addLine(QStringLiteral("Select Kubun_Code From No_Such_Table"));
        try {
            q.open();
            QFAIL("a missing table was not reported");
        } catch (const core::DbError& e) {
            QVERIFY2(e.text().contains(QLatin1String("no_such_table"), Qt::CaseInsensitive), qPrintable(e.text()));
        }
        QVERIFY(!q.isOpen());
        q.clearText();
        q.addLine(QStringLiteral("Select Kubun_Code From Kubun_Table Where rtrim(Kubun_Code) = :tbCode"));
        q.bindText(QStringLiteral("tbCode"), QStringLiteral("00003"));
        q.open();
        QCOMPARE(q.rowCount(), 1);

        // A value the column refuses is the engine's error too.
        store::SqlStatement bad(db.connection());
        bad.addLine(QStringLiteral("Insert Into Account_Jen_AA (Cr_Amt) Values (:tbCr_Amt)"));
        bad.bindText(QStringLiteral("tbCr_Amt"), QStringLiteral("일만원"));
        if (db.isPostgres())
            QVERIFY_THROWS_EXCEPTION(core::DbError, bad.execute());
        q.open();
        QCOMPARE(q.asText(QStringLiteral("Kubun_Code")), QStringLiteral("00003"));
    }
};

QTEST_GUILESS_MAIN(TestStatement)
#include "test_statement.moc"
