// The record every change leaves in voucher_history, the closed periods as
// the clerk meets them in the window, and the loaded line's history on Ctrl+H;
// on SQLite and PostgreSQL.
#include "clerkdesk.h"
#include "entrykit.h"
#include "modalwatcher.h"

#include "widgets/application.h"
#include "testdb.h"
#include "voucher/voucherbook.h"
#include "widgets/dbgrid.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

using namespace clerkdesk;

namespace {

const QString kDate = QStringLiteral("2001-05-30");

// Lines 01 (5000) and 02 (7000) of a new voucher, saved by the book.
QString savedVoucher(store::Connection& c)
{
    QList<voucher::VoucherLine> lines(2);
    for (int i = 0; i < 2; ++i) {
        lines[i].serialBun = QStringLiteral("0%1").arg(i + 1);
        lines[i].codes[0] = QStringLiteral("4070100%1000").arg(i + 5);
        lines[i].names[0] = i ? QStringLiteral("접대비") : QStringLiteral("여비교통비");
        lines[i].crAmt = i ? 7000 : 5000;
    }
    voucher::VoucherBook book(c);
    return book.saveNewVoucher(kDate, 0, lines).serialJen;
}

// Line 01 of the voucher corrected through the book to a debit of 9,000.
bool correctFirstLineTo9000(voucher::VoucherBook& book, const QString& number)
{
    voucher::VoucherLine changed = book.loadVoucher(kDate, 0, number).first().line;
    changed.crAmt = 9000;
    return book.correctLine({kDate, QStringLiteral("00000"), number, QStringLiteral("01")}, changed);
}

qint64 trailCount(store::Connection& c)
{
    return selectOne(c, QStringLiteral("SELECT count(*) FROM voucher_history")).value(0).toLongLong();
}

} // namespace

class TestTrail : public QObject {
    Q_OBJECT
private slots:
    void everyChangeLeavesAChainedRecord_data() { addEngines(); }
    void everyChangeLeavesAChainedRecord()
    {
        FETCH_ENGINE();
        TestAccount account(engine);
        store::Connection& c = account.connection();
        const QString number = savedVoucher(c);
        voucher::VoucherBook book(c);
        QVERIFY(correctFirstLineTo9000(book, number));
        QCOMPARE(book.deleteLine(number, QStringLiteral("02")), 2);

        // line, operation, the debit amount before and after ("" where the line had no rows)
        const QList<QStringList> expected = {{"01", "save", "", "5000"}, {"01", "correct", "5000", "9000"},
                                             {"02", "save", "", "7000"}, {"02", "delete", "7000", ""}};
        QList<voucher::TrailRecord> records = book.lineHistory(number, QStringLiteral("01")) + book.lineHistory(number, QStringLiteral("02"));
        QCOMPARE(records.size(), expected.size());
        for (qsizetype i = 0; i < records.size(); ++i) {
            const voucher::TrailRecord& r = records[i];
            QCOMPARE(QStringList({r.serialBun, r.operation}), expected[i].mid(0, 2));
            for (const auto& [text, amount] : {std::pair{r.before, expected[i][2]}, std::pair{r.after, expected[i][3]}})
                QVERIFY2(amount.isEmpty() ? text.isEmpty() : text.contains(QStringLiteral("Cr_Amt=%1\t").arg(amount)), qPrintable(text));
            QCOMPARE(r.hash, r.computedHash());
            QCOMPARE(r.date, kDate);
            QVERIFY(!r.doneBy.isEmpty() && r.doneAt.startsWith(u'2') && !r.workstation.isEmpty());
        }
        // One chain in the order written, whichever line.
        std::sort(records.begin(), records.end(), [](const voucher::TrailRecord& a, const voucher::TrailRecord& b) { return a.id < b.id; });
        QCOMPARE(records.first().prevHash, QString());
        for (qsizetype i = 1; i < records.size(); ++i)
            QCOMPARE(records[i].prevHash, records[i - 1].hash);
        // Nobody rewrites it afterwards, the program's own connection included.
        for (const char* sql : {"UPDATE voucher_history SET done_by = 'x'", "DELETE FROM voucher_history"})
            QVERIFY_THROWS_EXCEPTION(core::DbError, c.execNative(QLatin1String(sql)));
        QCOMPARE(trailCount(c), 4);
    }

    void closedPeriodRefusesEveryChange_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("focus");
        for (const char* engine : {"sqlite", "postgres"}) {
            QTest::addRow("%s, save", engine) << engine << "SaveBtn" << "edDate";
            QTest::addRow("%s, correct", engine) << engine << "correct" << "DBGrid1";
            QTest::addRow("%s, delete", engine) << engine << "DeleteBtn" << "DBGrid1";
        }
    }
    void closedPeriodRefusesEveryChange()
    {
        FETCH_ENGINE();
        QFETCH(QString, change);
        QFETCH(QString, focus);
        TestAccount account(engine);
        store::Connection& c = account.connection();
        const QString number = savedVoucher(c);
        execSql(c, QStringLiteral("INSERT INTO closed_books (closed_through) VALUES ('2001-05-31')"));
        const QString columns = QStringLiteral("Serial_Bun, Ac_JenCode, Cr_Amt, Dr_Amt");
        const auto rows = voucherRows(c, number, columns);

        Desk desk;
        chooseDateAndBranch(desk, kDate, 0);
        if (change == QLatin1String("SaveBtn")) {
            LineInput in;
            in.account = {QStringLiteral("접대비"), QStringLiteral("40701006000")};
            in.amount = QStringLiteral("3000");
            typeLine(desk, 3, in);
        } else {
            chooseRow(desk, number, "01");
            retype(desk, desk.w.line(1).crAmt, QStringLiteral("9000"));
        }
        if (QTest::currentTestFailed())
            return;
        ModalWatcher watcher;
        press(desk, change == QLatin1String("correct") ? QStringLiteral("SaveBtn") : change);
        QTRY_COMPARE(watcher.texts.size(), 1);
        QVERIFY2(watcher.texts.first().contains(QLatin1String("2001-05-31")), qPrintable(watcher.texts.first()));
        QCOMPARE(watcher.icons.first(), QMessageBox::Warning);
        QTRY_COMPARE(entrykit::focusName(&desk.w), focus);
        // Nothing written: the rows, the voucher count and the trail are as they were.
        QCOMPARE(voucherRows(c, number, columns), rows);
        QCOMPARE(nativeCount(c, QStringLiteral("1 = 1")), 4);
        QCOMPARE(trailCount(c), 2);
    }

    void historyKeyShowsTheLoadedLine_data() { addEngines(); }
    void historyKeyShowsTheLoadedLine()
    {
        FETCH_ENGINE();
        TestAccount account(engine);
        store::Connection& c = account.connection();
        const QString number = savedVoucher(c);
        voucher::VoucherBook book(c);
        QVERIFY(correctFirstLineTo9000(book, number));

        Desk desk;
        chooseDateAndBranch(desk, kDate, 0);
        chooseRow(desk, number, "01");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::ControlModifier);
        QDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = desk.w.findChild<QDialog*>(QStringLiteral("dlgLineHistory"))));
        const auto* grid = dialog->findChild<QTableWidget*>(QStringLiteral("grdLineHistory"));
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("저장"));
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("수정"));
        QVERIFY2(grid->item(1, 4)->text().contains(QLatin1String("5,000")), qPrintable(grid->item(1, 4)->text()));
        QVERIFY2(grid->item(1, 5)->text().contains(QLatin1String("9,000")), qPrintable(grid->item(1, 5)->text()));
        QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);
        dialog->close();
    }
};

ENTRY_TEST_MAIN(TestTrail)
#include "test_trail.moc"
