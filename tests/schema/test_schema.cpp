#include "enginedb.h"
#include "schema/datasource.h"
#include "schema/schema.h"
#include "store/statement.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QTest>

class TestSchema : public QObject {
    Q_OBJECT

    static qint64 count(store::Connection& c, const QString& fromWhere)
    {
        store::SqlStatement q(c);
        q.addLine(QStringLiteral("Select Count(*) As Cnt ") + fromWhere);
        q.open();
        return q.asInteger(QStringLiteral("Cnt"));
    }

    // Texts of one column of a statement, first row to last.
    static QStringList column(store::Connection& c, const QString& sql, const QString& name)
    {
        store::SqlStatement q(c);
        q.addLine(sql);
        q.open();
        QStringList out;
        for (q.first(); !q.eof(); q.next())
            out << q.asText(name);
        return out;
    }

private slots:
    void createsIdempotently_data() { addEngines(); }
    void createsIdempotently()
    {
        OPEN_ENGINE_DB(db, true);
        store::Connection& c = db.connection();
        QVERIFY(schema::schemaExists(c));
        const qint64 accounts = count(c, QStringLiteral("From test_ac_code"));
        schema::createSchema(c);
        schema::loadDemoData(c); // filled tables are kept as they are
        QCOMPARE(count(c, QStringLiteral("From test_ac_code")), accounts);
        QCOMPARE(count(c, QStringLiteral("From kubun_table")), qint64(5));
    }

    void freshDatabaseHasNoSchema()
    {
        QTemporaryDir dir;
        auto c = store::Connection::openSqlite(dir.filePath(QStringLiteral("empty.db")));
        QVERIFY(!schema::schemaExists(*c));
        schema::createSchema(*c);
        QVERIFY(schema::schemaExists(*c));
        QCOMPARE(count(*c, QStringLiteral("From test_ac_code")), qint64(0));
    }

    // A file made before an index (or the trail) was added gets it when the
    // program opens it, and keeps its rows.
    void anOlderFileGetsTheMissingIndexes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("voucher/Account.db"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("voucher"))));
        qint64 accounts = 0;
        {
            auto c = schema::openEmbedded(path);
            QVERIFY(!schema::indexesMissing(*c));
            accounts = count(*c, QStringLiteral("From test_ac_code"));
            c->execNative(QStringLiteral("DROP INDEX ix_ac_group"));
            c->execNative(QStringLiteral("DROP TABLE voucher_history")); // nor the trail
            QVERIFY(schema::indexesMissing(*c));
        }
        auto c = schema::openEmbedded(path);
        QVERIFY(!schema::indexesMissing(*c));
        QCOMPARE(count(*c, QStringLiteral("From voucher_history")), qint64(0));
        QCOMPARE(count(*c, QStringLiteral("From test_ac_code")), accounts);
        QVERIFY(accounts > 0);
    }

    void otherPostgresSchemasAreNotSeen()
    {
        REQUIRE_POSTGRES();
        EngineDb full(QStringLiteral("postgres"), false);
        QString empty;
        {
            auto admin = store::Connection::openOdbc(QStringLiteral("Account"));
            empty = full.schema() + QStringLiteral("_e");
            admin->execNative(QStringLiteral("CREATE SCHEMA %1").arg(empty));
        }
        {
            auto c = testdb::postgresAttach(empty);
            QVERIFY(!schema::schemaExists(*c));
        }
        testdb::dropPostgresSchema(empty);
    }

    void textComparisonsIgnoreTrailingBlanks_data() { addEngines(); }
    void textComparisonsIgnoreTrailingBlanks()
    {
        OPEN_ENGINE_DB(db, true);
        store::Connection& c = db.connection();
        QCOMPARE(count(c, QStringLiteral("From kubun_table Where Kubun_Code = '00001 '")), qint64(1));
        QCOMPARE(count(c, QStringLiteral("From kubun_table Where Kubun_Code in ('00001   ', '00002')")), qint64(2));
        QCOMPARE(count(c, QStringLiteral("From test_ac_code Where code_kubun = 'SSSSS' and ac_code = '10101001000 '")),
                 qint64(1));
    }

    void voucherColumnsHoldTheirWidths_data() { addEngines(); }
    void voucherColumnsHoldTheirWidths()
    {
        OPEN_ENGINE_DB(db, false);
        store::SqlStatement q(db.connection());
        q.addLine(QStringLiteral("Insert Into Account_Jen_AA (Serial, Serial_Jen, Form_Kubun, Ac_JenName, Ac_Text)"));
        q.addLine(QStringLiteral("Values (:tbSerial, :tbSerial_Jen, :tbForm_Kubun, :tbAc_JenName, :tbAc_Text)"));
        const QString serial = QStringLiteral("AA*00004*2*2001-05-30-100000000*05*A002*02");
        q.bindText(QStringLiteral("tbSerial"), serial);
        q.bindText(QStringLiteral("tbSerial_Jen"), QStringLiteral("2001-05-30-100000000"));
        q.bindText(QStringLiteral("tbForm_Kubun"), QStringLiteral("A002"));
        q.bindText(QStringLiteral("tbAc_JenName"), QString(45, QChar(u'계'))); // 90 bytes in the Korean code page
        q.bindText(QStringLiteral("tbAc_Text"), QString(100, QChar(u'요')));
        q.execute();
        q.clearText();
        q.addLine(QStringLiteral("Select * From Account_Jen_AA"));
        q.open();
        QCOMPARE(q.asText(QStringLiteral("Serial")), serial);
        QCOMPARE(q.asText(QStringLiteral("Serial_Jen")), QStringLiteral("2001-05-30-100000000"));
        QCOMPARE(q.asText(QStringLiteral("Form_Kubun")), QStringLiteral("A002"));
        QCOMPARE(q.asText(QStringLiteral("Ac_Text")).size(), 100);
        // Every column of the insert statement is there.
        for (const char* name : {"Serial", "Serial_Jen", "Serial_Bun", "Serial_CrDr", "Month_Char", "Year_Char",
                                 "Date_Day", "Table_Kubun", "Kubun_Bon", "Kubun_Jen", "Kubun_Amt", "Form_Kubun",
                                 "Giel_Serial", "Ac_JenCode", "Ac_JenName", "Ac_Text", "Item_Code", "Item_Name",
                                 "Kubun_Code", "Kubun_Name", "Project_Code", "Project_Name", "Buser_Code",
                                 "Buser_Name", "Sawon_Code", "Sawon_Name", "Cr_Amt", "Dr_Amt", "End_Day"})
            QVERIFY2(q.columnIndex(QLatin1String(name)) >= 0, name);
    }

    void lookupsOfOneVoucherUseAnIndex()
    {
        // On SQLite the voucher-number index only serves the exact expression rtrim(Serial_Jen).
        QTemporaryDir dir;
        auto c = testdb::sqlite(dir, false);
        const auto plan = [&](const QString& sql) {
            QSqlQuery q(c->database());
            if (!q.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql))
                return QString();
            q.addBindValue(QStringLiteral("2001-05-30-00000001"));
            q.exec();
            QString text;
            while (q.next())
                text += q.value(3).toString() + u'\n';
            return text;
        };
        QVERIFY(plan(QStringLiteral("select * from account_jen_AA where rtrim(serial_jen) = ?")).contains(QLatin1String("ix_jen_serial_key")));
        QVERIFY(plan(QStringLiteral("Select Max(Serial_Jen) as Serial_Max From Account_Jen_AA Where Date_Day = ?"))
                    .contains(QLatin1String("ix_jen_date_serial")));
    }

    void demoChartOfAccounts_data() { addEngines(); }
    void demoChartOfAccounts()
    {
        OPEN_ENGINE_DB(db, true);
        store::Connection& c = db.connection();
        store::SqlStatement q(c);
        q.addLine(QStringLiteral("Select ac_code, ac_name, bigo, code_kubun, a_kubun, b_kubun, c_kubun From test_ac_code"));
        q.open();
        QSet<QString> listedKeys; // keys of accounts the lookup can offer with their classification
        QSet<QString> allKeys;
        QSet<QString> codes;
        int placeholders = 0;
        int otherSets = 0;
        for (q.first(); !q.eof(); q.next()) {
            const QString code = q.asText(QStringLiteral("ac_code"));
            const QString name = q.asText(QStringLiteral("ac_name"));
            const QString key = q.asText(QStringLiteral("a_kubun")) + q.asText(QStringLiteral("b_kubun"))
                                + q.asText(QStringLiteral("c_kubun"));
            QVERIFY2(key.size() == 5, qPrintable(code));
            QVERIFY2(code.size() == 11 && code.startsWith(key), qPrintable(code));
            QVERIFY2(!name.isEmpty() && !q.asText(QStringLiteral("bigo")).isEmpty(), qPrintable(code));
            if (q.asText(QStringLiteral("code_kubun")) != QLatin1String("SSSSS")) {
                ++otherSets;
                continue;
            }
            QVERIFY2(!codes.contains(code), qPrintable(code));
            codes.insert(code);
            allKeys.insert(key);
            if (name.contains(QStringLiteral("회사설정계정")))
                ++placeholders;
            else if (code != QLatin1String("10101001000"))
                listedKeys.insert(key);
        }
        const QStringList groupKeys = {"10101", "10102", "10201", "10202", "10203", "10204", "20101",
                                       "20201", "20301", "30101", "30201", "30301", "30401", "40403",
                                       "40404", "40502", "40503", "40701", "41001", "41301", "41501"};
        for (const QString& key : groupKeys)
            QVERIFY2(listedKeys.contains(key), qPrintable(key));
        const QStringList excluded = {"40101", "40201", "40301", "40302", "40303", "40304",
                                      "40305", "40401", "40402", "40501", "40901", "41201"};
        for (const QString& key : excluded)
            QVERIFY2(allKeys.contains(key), qPrintable(key));
        QVERIFY(allKeys.contains(QStringLiteral("50101"))); // a key no group names
        QVERIFY(placeholders >= 1);
        QVERIFY(otherSets >= 1);

        QCOMPARE(column(c, QStringLiteral("Select ac_name From test_ac_code Where code_kubun = 'SSSSS' and "
                                          "rtrim(ac_code) = '10101001000' and a_kubun = '1' and b_kubun = '01' and c_kubun = '01'"),
                        QStringLiteral("ac_name")),
                 QStringList{QStringLiteral("현금")});
    }

    void demoMasterTables_data() { addEngines(); }
    void demoMasterTables()
    {
        OPEN_ENGINE_DB(db, true);
        store::Connection& c = db.connection();
        // Branch codes run from "00000" without gaps, head office first.
        const QStringList branchCodes = column(c, QStringLiteral("Select Kubun_Code From kubun_table Order By Kubun_Code"),
                                               QStringLiteral("Kubun_Code"));
        for (int i = 0; i < branchCodes.size(); ++i)
            QCOMPARE(branchCodes[i], QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')));
        QCOMPARE(column(c, QStringLiteral("Select Kubun_Name From kubun_table Order By Kubun_Code"), QStringLiteral("Kubun_Name")).mid(0, 2),
                 QStringList({QStringLiteral("본사"), QStringLiteral("부산지점")}));
        QCOMPARE(column(c, QStringLiteral("Select Kubun_JangSo From kubun_table Order By Kubun_Code"), QStringLiteral("Kubun_JangSo")).mid(0, 2),
                 QStringList({QStringLiteral("서울"), QStringLiteral("부산")}));

        for (const char* table : {"Sale_Table", "Bank_Table", "Sawon_Table", "Buser_Table", "Project_Table", "Item_Table"}) {
            const qint64 n = count(c, QStringLiteral("From ") + QLatin1String(table));
            QVERIFY2(n >= 10 && n <= 30, table);
        }
        const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
        store::SqlStatement q(c);
        q.addLine(QStringLiteral("Select Sale_Serial01, Sale_Serial02, Sale_Serial03 From Sale_Table"));
        q.open();
        for (q.first(); !q.eof(); q.next()) {
            const QString number = q.asText(QStringLiteral("Sale_Serial01")) + u'-' + q.asText(QStringLiteral("Sale_Serial02"))
                                   + u'-' + q.asText(QStringLiteral("Sale_Serial03"));
            QVERIFY2(QRegularExpression(QStringLiteral("^[0-9]{3}-[0-9]{2}-[0-9]{5}$")).match(number).hasMatch(), qPrintable(number));
        }
        q.clearText();
        q.addLine(QStringLiteral("Select Sawon_Kubun, Sawon_Jumin01, Sawon_Jumin02 From Sawon_Table"));
        q.open();
        for (q.first(); !q.eof(); q.next()) {
            const QString sex = q.asText(QStringLiteral("Sawon_Kubun"));
            QVERIFY(sex == QStringLiteral("남") || sex == QStringLiteral("여"));
            QVERIFY(q.asText(QStringLiteral("Sawon_Jumin01")).size() == 6 && q.asText(QStringLiteral("Sawon_Jumin02")).size() == 7);
            // The second part of the number starts with the sex digit.
            QCOMPARE(q.asText(QStringLiteral("Sawon_Jumin02")).left(1), sex == QStringLiteral("남") ? QStringLiteral("1") : QStringLiteral("2"));
        }
        QCOMPARE(column(c, QStringLiteral("Select Tot From Jen_Print Order By Tot"), QStringLiteral("Tot")),
                 QStringList({"01", "02", "03", "04", "05", "06", "07"}));
        QCOMPARE(count(c, QStringLiteral("From Bank_Table Where rtrim(Bank_Serial) = ''")), qint64(0));
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
