#include "enginedb.h"
#include "voucherseed.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "voucher/listnarrowing.h"
#include "voucher/statements.h"
#include "voucher/writestatements.h"
#include "sql/dialect.h"
#include "schema/schema.h"
#include "store/statement.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

// The voucher list is narrowed to one date and branch by an added condition
// that its like pattern implies. Whatever the clerk typed as the date and
// whatever other programs stored, the narrowed statement must return exactly
// the rows of the statement as written.
class TestListNarrowing : public QObject {
    Q_OBJECT

    // Every row of a statement, each as one text, sorted: the list asks for no order.
    static QStringList rowsOf(store::SqlStatement& q)
    {
        QStringList rows;
        q.open();
        for (q.first(); !q.eof(); q.next()) {
            QStringList cells;
            for (int c = 0; c < q.columnCount(); ++c)
                cells << q.asText(q.columnName(c));
            rows << cells.join(u'|');
        }
        q.close();
        rows.sort();
        return rows;
    }

    static QString patternOf(const QString& date, int branch)
    {
        return u'%' + date + core::formatZeroPadded(branch, 5) + u'%';
    }

    // Stored data with the shapes the like pattern may meet.
    static void storeEdgeData(store::Connection& c)
    {
        int n = 0;
        auto voucher = [&](const QString& date, const QString& branch, const QString& kind, const QString& form,
                           int lines, const QString& text = QStringLiteral("적요")) {
            const QString serial = date + QStringLiteral("-%1").arg(++n, 8, 10, QLatin1Char('0'));
            for (int line = 1; line <= lines; ++line) {
                for (const char* side : {"01", "02"}) {
                    voucherseed::Row r;
                    r.serialJen = serial;
                    r.serialBun = QStringLiteral("0%1").arg(line);
                    r.serialCrDr = QLatin1String(side);
                    r.date = date;
                    r.branch = branch;
                    r.kubunJen = kind;
                    r.form = form;
                    r.line.text = text;
                    r.line.amount = 1000 * n + line;
                    voucherseed::insertRow(c, r);
                }
            }
        };
        const QString k2 = QStringLiteral("2");
        const QString a2 = QStringLiteral("A002");
        voucher(QStringLiteral("2001-05-30"), QStringLiteral("00000"), k2, a2, 3);
        voucher(QStringLiteral("2001-05-30"), QStringLiteral("00000"), k2, a2, 1, QStringLiteral("다른 적요"));
        voucher(QStringLiteral("2001-05-30"), QStringLiteral("00001"), k2, a2, 2);                  // other branch
        voucher(QStringLiteral("2001-05-30"), QStringLiteral("00004"), k2, a2, 1);
        voucher(QStringLiteral("2001-05-30"), QStringLiteral("00000"), QStringLiteral("1"), QStringLiteral("A001"), 2);
        voucher(QStringLiteral("2001-05-30"), QStringLiteral("00000"), QStringLiteral("3"), QStringLiteral("A003"), 1);
        voucher(QStringLiteral("2001-05-30"), QStringLiteral("00000"), k2, QStringLiteral("A003"), 1); // other form
        voucher(QStringLiteral("2001-05-30"), QStringLiteral("00000"), QStringLiteral("2 "), a2, 1); // kind padded
        voucher(QStringLiteral("2001-05-31"), QStringLiteral("00000"), k2, a2, 1);                  // other date
        voucher(QStringLiteral("2001-05-3"), QStringLiteral("00000"), k2, a2, 2);                   // short date
        voucher(QStringLiteral("2001-5-30"), QStringLiteral("00000"), k2, a2, 1);
        voucher(QStringLiteral("2001-05-3 "), QStringLiteral("00000"), k2, a2, 1);                  // padded short date
        voucher(QStringLiteral("2001/05/30"), QStringLiteral("00000"), k2, a2, 1);                  // other shape
        voucher(QStringLiteral("20010530"), QStringLiteral("00000"), k2, a2, 1);
        voucher(QStringLiteral("2001-05-30"), QStringLiteral("0000"), k2, a2, 1);                   // short branch
        voucher(QStringLiteral("2001-05-30"), QStringLiteral("0000 "), k2, a2, 1);
        voucher(QStringLiteral("2001-05-3"), QStringLiteral("0000"), k2, a2, 1);
        voucher(QStringLiteral("1-05-30"), QStringLiteral("00000"), k2, a2, 1);                     // a date's tail
        voucher(QStringLiteral("2001-05-30"), QStringLiteral("1"), k2, a2, 1);
    }

    // Dates as a clerk may have typed them, with every branch position the
    // selector can give (and one it cannot).
    static QStringList typedDates()
    {
        return {QStringLiteral("2001-05-30"), QStringLiteral("2001-05-31"), QStringLiteral("2001-05-3"),
                QStringLiteral("2001-05-3 "), QStringLiteral("2001-5-30"),  QStringLiteral("2001-5-30 "),
                QStringLiteral("2001/05/30"), QStringLiteral("20010530"),   QStringLiteral("1-05-30"),
                QStringLiteral(""),           QStringLiteral("2001_05_30"), QStringLiteral("2001-05-%"),
                QStringLiteral("2001-05-3_"), QStringLiteral("abcd-ef-gh"), QStringLiteral(" 2001-05-3"),
                QStringLiteral("2001-05-300"), QStringLiteral("0000000000")};
    }

private slots:
    void pinnedBy_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("pinned");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("branch");
        QTest::newRow("date and branch") << "%2001-05-3000000%" << true << "2001-05-30" << "00000";
        QTest::newRow("other branch") << "%2001-05-3000004%" << true << "2001-05-30" << "00004";
        QTest::newRow("padded short date") << "%2001-05-3 00000%" << true << "2001-05-3" << "00000";
        QTest::newRow("other shape") << "%2001/05/3000002%" << true << "2001/05/30" << "00002";
        QTest::newRow("short date") << "%2001-05-300000%" << false << "" << "";
        QTest::newRow("no branch") << "%2001-05-30-00001%" << false << "" << "";
        QTest::newRow("long date") << "%2001-05-30000000%" << false << "" << "";
        QTest::newRow("underscore") << "%2001_05_3000000%" << false << "" << "";
        QTest::newRow("percent inside") << "%2001-05-%000000%" << false << "" << "";
        QTest::newRow("letters") << "%abcd-ef-gh00000%" << false << "" << "";
        QTest::newRow("Hangul") << "%2001년05월3000000%" << false << "" << "";
        QTest::newRow("backslash") << "%2001\\05\\3000000%" << false << "" << "";
        QTest::newRow("no leading percent") << "x2001-05-3000000%" << false << "" << "";
        QTest::newRow("no trailing percent") << "%2001-05-3000000x" << false << "" << "";
    }
    void pinnedBy()
    {
        QFETCH(QString, pattern);
        QFETCH(bool, pinned);
        const auto got = voucher::pinnedBy(pattern);
        QCOMPARE(got.has_value(), pinned);
        if (got) {
            QFETCH(QString, date);
            QFETCH(QString, branch);
            QCOMPARE(got->date, date);
            QCOMPARE(got->branch, branch);
        }
    }

    void sameRowsAsWritten_data() { addEngines(); }
    void sameRowsAsWritten()
    {
        OPEN_ENGINE_DB(db, true);
        store::Connection& c = db.connection();
        storeEdgeData(c);
        QVERIFY(schema::keyWidthsEnforced(c));

        int narrowedWithRows = 0;
        for (const QString& date : typedDates()) {
            for (int branch : {0, 1, 4, 7, -1}) {
                const QString pattern = patternOf(date, branch);
                store::SqlStatement plain(c);
                plain.setLines(voucher::voucherList());
                plain.bindText(QStringLiteral("tbDKubun"), pattern);
                store::SqlStatement narrowed(c);
                narrowed.setLines(voucher::voucherList());
                narrowed.bindText(QStringLiteral("tbDKubun"), pattern);
                voucher::narrowToDateAndBranch(narrowed, pattern);

                const bool applied = narrowed.lines().size() > plain.lines().size();
                QCOMPARE(applied, voucher::pinnedBy(pattern).has_value());
                const QStringList expected = rowsOf(plain);
                QCOMPARE(rowsOf(narrowed), expected);
                if (applied && !expected.isEmpty())
                    ++narrowedWithRows;
            }
        }
        // The common case really ran narrowed: date 2001-05-30 of branches 0, 1 and 4.
        QVERIFY2(narrowedWithRows >= 3, qPrintable(QString::number(narrowedWithRows)));

        // The head office's list of 2001-05-30: lines of the two vouchers of
        // kind 2 and form A002 (also the one whose kind is stored padded).
        store::SqlStatement list(c);
        list.setLines(voucher::voucherList());
        const QString pattern = patternOf(QStringLiteral("2001-05-30"), 0);
        list.bindText(QStringLiteral("tbDKubun"), pattern);
        voucher::narrowToDateAndBranch(list, pattern);
        QCOMPARE(rowsOf(list).size(), 3 + 1 + 1);
    }

    void remainingLinesAsWritten_data() { addEngines(); }
    void remainingLinesAsWritten()
    {
        OPEN_ENGINE_DB(db, true);
        store::Connection& c = db.connection();
        storeEdgeData(c);
        for (const QString& date : {QStringLiteral("2001-05-30"), QStringLiteral("2001-05-3 ")}) {
            const QString pattern = patternOf(date, 0);
            for (const QString& voucher : {QStringLiteral("2001-05-30-00000001"), QStringLiteral("2001-05-3 -00000012"),
                                           QStringLiteral("2001-05-30-0000000")}) {
                store::SqlStatement plain(c);
                plain.setLines(voucher::remainingVoucherLines());
                plain.bindText(QStringLiteral("tbDKubun"), pattern);
                plain.bindText(QStringLiteral("tbjen"), u'%' + core::Str_RemoveBlanks(voucher) + u'%');
                store::SqlStatement narrowed(c);
                narrowed.setLines(voucher::remainingVoucherLines());
                narrowed.bindText(QStringLiteral("tbDKubun"), pattern);
                narrowed.bindText(QStringLiteral("tbjen"), u'%' + core::Str_RemoveBlanks(voucher) + u'%');
                voucher::narrowToDateAndBranch(narrowed, pattern);
                QVERIFY(narrowed.lines().size() > plain.lines().size());
                QCOMPARE(rowsOf(narrowed), rowsOf(plain));
            }
        }
    }

    // What the narrowing stands on: neither engine stores a longer date or branch.
    void longerKeysRefused_data() { addEngines(); }
    void longerKeysRefused()
    {
        OPEN_ENGINE_DB(db, true);
        voucherseed::Row longDate;
        longDate.serialJen = QStringLiteral("2001-05-30-00000001");
        longDate.date = QStringLiteral("2001-05-300");
        QVERIFY_THROWS_EXCEPTION(core::DbError, voucherseed::insertRow(db.connection(), longDate));
        voucherseed::Row longBranch;
        longBranch.serialJen = QStringLiteral("2001-05-30-00000002");
        longBranch.date = QStringLiteral("2001-05-30");
        longBranch.branch = QStringLiteral("-00001");
        QVERIFY_THROWS_EXCEPTION(core::DbError, voucherseed::insertRow(db.connection(), longBranch));
        QCOMPARE(selectOne(db.connection(), QStringLiteral("select count(*) from account_jen_AA")).value(0).toInt(), 0);
    }

    // A file made before the table checked its widths may hold longer keys:
    // its list keeps the statement as written.
    void fileWithoutWidthCheckKeepsStatement()
    {
        QTemporaryDir dir;
        auto c = store::Connection::openSqlite(dir.filePath(QStringLiteral("old.db")));
        c->execNative(QStringLiteral("CREATE TABLE kubun_table (Kubun_Code CHAR(5), Kubun_Name CHAR(50), Kubun_JangSo CHAR(50))"));
        c->execNative(QStringLiteral("INSERT INTO kubun_table VALUES ('00000', '본사', '서울'), ('-00001', '옛지점', '부산')"));
        // The voucher table as the schema writes it, less the check.
        {
            QTemporaryDir other;
            auto fresh = testdb::sqlite(other, false);
            QString sql = selectOne(*fresh, QStringLiteral("select sql from sqlite_master where name = 'account_jen_AA'"))
                              .value(0)
                              .toString();
            const qsizetype check = sql.indexOf(QLatin1String("CONSTRAINT"));
            QVERIFY(check > 0);
            sql = sql.left(check).trimmed();
            sql.chop(1); // the comma before the check
            c->execNative(sql + u')');
        }
        QVERIFY(!schema::keyWidthsEnforced(*c));
        // Stored by a program that kept no widths: date 2001-05-3, branch "-00001".
        voucherseed::Row odd;
        odd.serialJen = QStringLiteral("2001-05-3-00000001");
        odd.date = QStringLiteral("2001-05-3");
        odd.branch = QStringLiteral("-00001");
        voucherseed::insertRow(*c, odd);
        odd.serialCrDr = QStringLiteral("02");
        voucherseed::insertRow(*c, odd);

        // 15 characters between the percent signs, yet its row is not date
        // "2001-05-3-" of branch "00001".
        const QString pattern = patternOf(QStringLiteral("2001-05-3"), -1);
        QVERIFY(voucher::pinnedBy(pattern).has_value());
        store::SqlStatement list(*c);
        list.setLines(voucher::voucherList());
        list.bindText(QStringLiteral("tbDKubun"), pattern);
        voucher::narrowToDateAndBranch(list, pattern);
        QCOMPARE(list.lines(), voucher::voucherList());
        QCOMPARE(rowsOf(list).size(), 1);
    }

    // On a server the column types keep the widths: read from the catalogue,
    // they are what information_schema tells of them, type by type.
    void serverColumnTypesAreReadAsInformationSchemaTellsThem()
    {
        REQUIRE_POSTGRES();
        EngineDb db(QStringLiteral("postgres"), false);
        const std::pair<const char*, const char*> dateAndBranchTypes[] = {
            {"char(10)", "char(5)"},  {"varchar(10)", "varchar(5)"}, {"char(8)", "varchar(3)"},
            {"varchar(11)", "char(5)"}, {"char(10)", "text"},         {"varchar", "varchar(5)"},
        };
        int enforcedSeen = 0;
        for (const auto& [dateType, branchType] : dateAndBranchTypes) {
            execSql(db.connection(), QStringLiteral("ALTER TABLE account_jen_AA ALTER COLUMN Date_Day TYPE %1, "
                                                    "ALTER COLUMN Kubun_Bon TYPE %2")
                                         .arg(QLatin1String(dateType), QLatin1String(branchType)));
            const int told =
                selectOne(db.connection(),
                          QStringLiteral("SELECT count(*) FROM information_schema.columns "
                                         "WHERE table_schema = current_schema() AND lower(table_name) = 'account_jen_aa' "
                                         "AND data_type IN ('character', 'character varying') AND ("
                                         "(lower(column_name) = 'date_day' AND character_maximum_length <= 10) OR "
                                         "(lower(column_name) = 'kubun_bon' AND character_maximum_length <= 5))"))
                    .value(0)
                    .toInt();
            auto fresh = db.attach(); // the answer is kept per connection
            QCOMPARE(schema::keyWidthsEnforced(*fresh), told == 2);
            enforcedSeen += told == 2;
        }
        QCOMPARE(enforcedSeen, 3);
    }

    // The indexes the statements need are the ones the engine takes.
    void sqlitePlansUseKeyIndexes()
    {
        EngineDb db(QStringLiteral("sqlite"));
        store::Connection& c = db.connection();
        auto plan = [&](const QStringList& lines, const QStringList& parameters) {
            QSqlQuery q(c.database());
            const QString sql = sql::translateSql(lines.join(u'\n'), core::Engine::SQLite);
            if (!q.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql))
                return q.lastError().text();
            for (const QString& p : parameters)
                q.bindValue(u':' + p, QStringLiteral("x"));
            if (!q.exec())
                return q.lastError().text();
            QStringList details;
            while (q.next())
                details << q.value(3).toString();
            return details.join(u'\n');
        };
        store::SqlStatement list(c);
        list.setLines(voucher::voucherList());
        voucher::narrowToDateAndBranch(list, patternOf(QStringLiteral("2001-05-30"), 0));
        const QString listPlan = plan(list.lines(), {QStringLiteral("tbDKubun"), QStringLiteral("tbListDay"),
                                                     QStringLiteral("tbListBon")});
        QCOMPARE(listPlan.count(QLatin1String("ix_jen_bon_day_key")), 2);
        QVERIFY2(!listPlan.contains(QLatin1String("SCAN t\n")) && !listPlan.contains(QLatin1String("AUTOMATIC")),
                 qPrintable(listPlan));
        QVERIFY(plan(voucher::voucherRowUpdate(), {}).contains(QLatin1String("ix_jen_row_key")));
        QVERIFY(plan(voucher::voucherLineDelete(), {}).contains(QLatin1String("ix_jen_line_key")));
        QVERIFY(plan(voucher::voucherRowCount(), {}).contains(QLatin1String("ix_jen_serial_key")));
        QVERIFY(plan(voucher::voucherDebitRows(), {}).contains(QLatin1String("ix_jen_serial_key")));
        QVERIFY(plan(voucher::voucherLineNumbers(), {}).contains(QLatin1String("ix_jen_serial_key")));
    }
};

QTEST_GUILESS_MAIN(TestListNarrowing)
#include "test_listnarrowing.moc"
