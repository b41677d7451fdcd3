// Deleting voucher lines: no question asked, the remaining lines of the
// voucher listed alone, idle again after the last line, a freed number, and
// a line deleted meanwhile elsewhere, also behind a driver that does not
// tell how many rows it deleted; on SQLite and PostgreSQL.
#include "clerkdesk.h"
#include "entrykit.h"

#include "widgets/application.h"
#include "testdb.h"
#include "widgets/colourpanel.h"
#include "widgets/colours.h"
#include "widgets/dbgrid.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace clerkdesk;

namespace {

const QString kDate = QStringLiteral("2001-05-30");
const QString kFirst = QStringLiteral("2001-05-30-00000001");
const QString kSecond = QStringLiteral("2001-05-30-00000002");
constexpr int kGwangju = 3;

LineInput simpleLine(const QString& account, const QString& code, const QString& amount)
{
    LineInput in;
    in.account = {account, code};
    in.amount = amount;
    return in;
}


#define USE_ENGINE()            \
    FETCH_ENGINE();             \
    TestAccount account(engine)

// The voucher numbers and line numbers the grid lists.
QStringList listedLines(Desk& desk)
{
    store::SqlStatement& q = desk.w.voucherList();
    QStringList lines;
    const int saved = q.currentRow();
    for (q.first(); !q.eof(); q.next())
        lines << q.asText(QStringLiteral("serial_ttt"));
    q.setCurrentRow(saved);
    lines.sort();
    return lines;
}

} // namespace

class TestDelete : public QObject {
    Q_OBJECT
private slots:
    void deletingLineByLine_data() { addEngines(); }
    void deletingLineByLine();
    void deletingTheHighestVoucherFreesItsNumber_data() { addEngines(); }
    void deletingTheHighestVoucherFreesItsNumber();
    void lineDeletedElsewhereIsReported_data() { addEnginesAndRowCounts(); }
    void lineDeletedElsewhereIsReported();
    void emptyListIsRefused();
};

void TestDelete::deletingLineByLine()
{
    USE_ENGINE();
    store::Connection& c = account.connection();
    Desk desk;
    chooseDateAndBranch(desk, kDate, kGwangju);
    typeLine(desk, 1, simpleLine(QStringLiteral("소모품비"), QStringLiteral("40701018000"), QStringLiteral("10000")));
    typeLine(desk, 2, simpleLine(QStringLiteral("여비교통비"), QStringLiteral("40701005000"), QStringLiteral("20000")));
    typeLine(desk, 3, simpleLine(QStringLiteral("접대비"), QStringLiteral("40701006000"), QStringLiteral("30000")));
    if (QTest::currentTestFailed())
        return;
    press(desk, QStringLiteral("SaveBtn"));
    // The debit row of line 02 carries the whole key of the row.
    QCOMPARE(c.selectNative(QStringLiteral("SELECT Serial FROM account_jen_AA WHERE rtrim(Serial_Bun) = '02' "
                                          "ORDER BY Serial_CrDr")),
             (QVector<QStringList>{{"AA*00003*2*2001-05-30-00000001*02*A002*01"},
                                   {"AA*00003*2*2001-05-30-00000001*02*A002*02"}}));
    // Another voucher of the date and branch, stored meanwhile elsewhere.
    voucherseed::insertVoucher(c, kDate, kGwangju, kSecond,
                          {{QStringLiteral("01"), QStringLiteral("40701007000"), QStringLiteral("통신비"), 45000}});
    chooseDateAndBranch(desk, kDate, kGwangju);
    QCOMPARE(desk.grid()->model()->rowCount(), 4);

    // Line 02 goes at once, without a question; only this voucher's other
    // lines are listed.
    chooseRow(desk, kFirst, "02");
    ModalWatcher watcher;
    press(desk, QStringLiteral("DeleteBtn"));
    QCOMPARE(watcher.texts, QStringList());
    QCOMPARE(c.selectNative(QStringLiteral("SELECT Serial_Bun, Serial_CrDr FROM account_jen_AA WHERE "
                                          "rtrim(Serial_Jen) = '%1' ORDER BY Serial_Bun, Serial_CrDr")
                               .arg(kFirst)),
             (QVector<QStringList>{{"01", "01"}, {"01", "02"}, {"03", "01"}, {"03", "02"}}));
    QCOMPARE(nativeCount(c, QStringLiteral("rtrim(Serial_Jen) = '%1'").arg(kSecond)), 2);
    QCOMPARE(listedLines(desk), (QStringList{kFirst + "01", kFirst + "03"}));
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);
    QCOMPARE(desk.edit(QStringLiteral("edSerial"))->text(), QString());
    QCOMPARE(desk.w.gridReturnKey(), kFirst);
    QVERIFY(desk.w.line(2).panel->isHidden());
    QVERIFY(!desk.w.line(1).panel->isHidden() && !desk.w.line(3).panel->isHidden());

    // Without choosing a row again, neither a delete nor a save does anything.
    press(desk, QStringLiteral("DeleteBtn"));
    QCOMPARE(watcher.texts, QStringList{QStringLiteral("그리드의 레코드를 선택하세요....")});
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts.last(), QStringLiteral("그리드에서 수정할 레코드를 선택 하세요....."));
    QCOMPARE(nativeCount(c, QStringLiteral("rtrim(Serial_Jen) = '%1'").arg(kFirst)), 4);
    watcher.texts.clear();

    chooseRow(desk, kFirst, "01");
    press(desk, QStringLiteral("DeleteBtn"));
    QCOMPARE(listedLines(desk), QStringList{kFirst + "03"});
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);

    // The last line: idle again, the whole list of the date and branch.
    chooseRow(desk, kFirst, "03");
    press(desk, QStringLiteral("DeleteBtn"));
    QCOMPARE(watcher.texts, QStringList());
    QCOMPARE(nativeCount(c, QStringLiteral("rtrim(Serial_Jen) = '%1'").arg(kFirst)), 0);
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Idle);
    QCOMPARE(listedLines(desk), QStringList{kSecond + "01"});
    QVERIFY(desk.button(QStringLiteral("InsertBtn"))->isEnabled());
    QVERIFY(!desk.button(QStringLiteral("DeleteBtn"))->isEnabled());
    QCOMPARE(desk.edit(QStringLiteral("edSerial"))->text(), QString());
    for (int n = 1; n <= voucher::kLineCount; ++n) {
        const entry::LinePanel& l = desk.w.line(n);
        QVERIFY(!l.panel->isHidden());
        QVERIFY(l.panel->isEnabled());
        QCOMPARE(l.panel->colour(), widgets::buttonFace());
        QCOMPARE(l.name(voucher::LookupKind::Account)->text(), QString());
        QCOMPARE(l.crAmt->text(), QString());
    }
}

void TestDelete::deletingTheHighestVoucherFreesItsNumber()
{
    USE_ENGINE();
    store::Connection& c = account.connection();
    for (const QString& number : {kFirst, kSecond})
        voucherseed::insertVoucher(c, kDate, 0, number,
                              {{QStringLiteral("01"), QStringLiteral("40701007000"), QStringLiteral("통신비"), 45000}});
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    chooseRow(desk, kSecond, "01");
    press(desk, QStringLiteral("DeleteBtn"));
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Idle);
    QCOMPARE(listedLines(desk), QStringList{kFirst + "01"});

    typeLine(desk, 1, simpleLine(QStringLiteral("접대비"), QStringLiteral("40701006000"), QStringLiteral("9000")));
    if (QTest::currentTestFailed())
        return;
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(nativeCount(c, QStringLiteral("rtrim(Serial_Jen) = '%1' AND rtrim(Ac_JenCode) = '40701006000'")
                                .arg(kSecond)),
             1);
    QCOMPARE(listedLines(desk), (QStringList{kFirst + "01", kSecond + "01"}));
}

void TestDelete::lineDeletedElsewhereIsReported()
{
    USE_ENGINE();
    store::Connection& c = account.connection();
    FETCH_ROW_COUNTS(c);
    voucherseed::insertVoucher(c, kDate, 0, kFirst,
                          {{QStringLiteral("01"), QStringLiteral("40701007000"), QStringLiteral("통신비"), 45000},
                           {QStringLiteral("02"), QStringLiteral("40701006000"), QStringLiteral("접대비"), 9000}});
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    chooseRow(desk, kFirst, "02");
    execSql(c, QStringLiteral("DELETE FROM account_jen_AA WHERE rtrim(Serial_Bun) = '02'"));

    ModalWatcher watcher;
    press(desk, QStringLiteral("DeleteBtn"));
    QCOMPARE(watcher.texts, QStringList{QStringLiteral("삭제할 전표 라인이 이미 없습니다. 다른 곳에서 삭제되었습니다....")});
    QCOMPARE(watcher.icons.first(), QMessageBox::Warning);
    // The list then shows what is stored: line 01 of the voucher.
    QCOMPARE(listedLines(desk), QStringList{kFirst + "01"});
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);
    QCOMPARE(nativeCount(c, QStringLiteral("1 = 1")), 2);

    // A line that is there goes without a word.
    chooseRow(desk, kFirst, "01");
    press(desk, QStringLiteral("DeleteBtn"));
    QCOMPARE(watcher.texts.size(), 1);
    QCOMPARE(nativeCount(c, QStringLiteral("1 = 1")), 0);
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Idle);
}

void TestDelete::emptyListIsRefused()
{
    TestAccount account(QStringLiteral("sqlite"));
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    {
        ModalWatcher watcher;
        desk.grid()->setFocus();
        QTest::keyPress(desk.grid(), Qt::Key_Down);
        QTRY_COMPARE(watcher.texts.size(), 1);
    }
    QVERIFY(desk.button(QStringLiteral("DeleteBtn"))->isEnabled());
    ModalWatcher watcher;
    press(desk, QStringLiteral("DeleteBtn"));
    QCOMPARE(watcher.texts, QStringList{QStringLiteral("현재 데이타가 없읍니다....")});
    QCOMPARE(entrykit::focusName(&desk.w), QStringLiteral("Panel7"));
}

ENTRY_TEST_MAIN(TestDelete)
#include "test_delete.moc"
