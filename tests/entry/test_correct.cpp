// Correcting one line of a stored voucher: both rows rewritten together,
// the window back on the corrected line in mode "2"; a line that is no
// longer stored under its key, and a store that refuses the second update;
// also behind a driver that does not tell how many rows it changed; on
// SQLite and PostgreSQL.
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
const QString kNotStored = QStringLiteral("수정할 전표 라인이 저장되어 있지 않습니다. 다른 곳에서 삭제되었거나 "
                                          "기준일자가 바뀌었습니다. 목록을 다시 조회하세요....");

const QString kColumns = QStringLiteral(
    "Serial, Serial_Jen, Serial_Bun, Serial_CrDr, Month_Char, Year_Char, Date_Day, Kubun_Bon, Kubun_Jen,"
    " Form_Kubun, Ac_JenCode, Ac_JenName, Ac_Text, Item_Code, Item_Name, Kubun_Code, Kubun_Name, Project_Code,"
    " Project_Name, Buser_Code, Buser_Name, Sawon_Code, Sawon_Name, Cr_Amt, Dr_Amt");

// Voucher 1 of the date at the head office: three lines, the second with
// every name and code.
void seedThreeLines(store::Connection& c)
{
    voucherseed::Line travel{QStringLiteral("02"), QStringLiteral("40701005000"), QStringLiteral("여비교통비"), 1234567,
                    QStringLiteral("부산 출장 여비")};
    travel.kubunCode = QStringLiteral("10001");
    travel.kubunName = QStringLiteral("(주)한빛상사");
    travel.sawonCode = QStringLiteral("1003");
    travel.sawonName = QStringLiteral("박민수");
    travel.buserCode = QStringLiteral("110");
    travel.buserName = QStringLiteral("회계팀");
    travel.projectCode = QStringLiteral("P2001-03");
    travel.projectName = QStringLiteral("ERP 시스템 구축");
    travel.itemCode = QStringLiteral("I005");
    travel.itemName = QStringLiteral("통행료");
    voucherseed::insertVoucher(c, kDate, 0, kFirst,
                          {{QStringLiteral("01"), QStringLiteral("40701018000"), QStringLiteral("소모품비"), 50000,
                            QStringLiteral("사무용품 구입")},
                           travel,
                           {QStringLiteral("03"), QStringLiteral("40701006000"), QStringLiteral("접대비"), 300000,
                            QStringLiteral("거래처 접대")}});
}

QVector<QStringList> lineRows(store::Connection& c, const char* line)
{
    return c.selectNative(QStringLiteral("SELECT %1 FROM account_jen_AA WHERE rtrim(Serial_Bun) = '%2' "
                                        "ORDER BY Serial_CrDr")
                             .arg(kColumns, QLatin1String(line)));
}

QString endDays(store::Connection& c, const char* line)
{
    const auto rows = c.selectNative(QStringLiteral("SELECT End_Day FROM account_jen_AA WHERE rtrim(Serial_Bun) = '%1' "
                                                   "ORDER BY Serial_CrDr")
                                        .arg(QLatin1String(line)));
    QStringList days;
    for (const QStringList& r : rows)
        days << r.first();
    return days.join(u'|');
}


#define USE_ENGINE()                     \
    FETCH_ENGINE();                      \
    TestAccount account(engine);         \
    seedThreeLines(account.connection())

// The desk on the seeded date with line 02 of voucher 1 chosen in the grid.
#define CHOOSE_LINE_TWO(desk)                                                                         \
    Desk desk;                                                                                        \
    chooseDateAndBranch(desk, kDate, 0);                                                              \
    entrykit::clickGridRow(desk.grid(), entrykit::gridRowOf(desk.grid(), kFirst, QStringLiteral("02"))); \
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);                                                     \
    QCOMPARE(desk.edit(QStringLiteral("edSerial"))->text(), kFirst)

} // namespace

class TestCorrect : public QObject {
    Q_OBJECT
private slots:
    void correctionRewritesBothRows_data() { addEnginesAndRowCounts(); }
    void correctionRewritesBothRows();
    void correctionWritesTheLoadedLine_data() { addEngines(); }
    void correctionWritesTheLoadedLine();
    void lineNoLongerStoredIsReported_data() { addEnginesAndRowCounts(); }
    void lineNoLongerStoredIsReported();
    void refusedSecondUpdateKeepsBothRows_data() { addEngines(); }
    void refusedSecondUpdateKeepsBothRows();
    void onlyWhatIsShownAndChosenIsStored_data() { addEngines(); }
    void onlyWhatIsShownAndChosenIsStored();
    void emptyCodesAreStoredAsEmptyTexts_data() { addEngines(); }
    void emptyCodesAreStoredAsEmptyTexts();
};

void TestCorrect::correctionRewritesBothRows()
{
    USE_ENGINE();
    store::Connection& c = account.connection();
    FETCH_ROW_COUNTS(c);
    const auto lineOne = lineRows(c, "01");
    const auto lineThree = lineRows(c, "03");
    const QString writtenAt = endDays(c, "02");
    CHOOSE_LINE_TWO(desk);

    // A new amount, then another account chosen in its lookup.
    const entry::LinePanel& l = desk.w.line(2);
    retype(desk, l.crAmt, QStringLiteral("77000"));
    typeName(desk, 2, voucher::LookupKind::Account, {QStringLiteral("통신비"), QStringLiteral("40701007000")});
    if (QTest::currentTestFailed())
        return;
    ModalWatcher watcher;
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList());

    // The debit row takes the account; the credit row stays cash; the amount
    // is mirrored; the key columns and the names are as stored.
    const QStringList names = {QStringLiteral("부산 출장 여비"), QStringLiteral("I005"), QStringLiteral("통행료"),
                               QStringLiteral("10001"), QStringLiteral("(주)한빛상사"), QStringLiteral("P2001-03"),
                               QStringLiteral("ERP 시스템 구축"), QStringLiteral("110"), QStringLiteral("회계팀"),
                               QStringLiteral("1003"), QStringLiteral("박민수")};
    const QStringList key = {kDate.mid(5, 2), kDate.left(4), kDate, QStringLiteral("00000"), QStringLiteral("2"),
                             QStringLiteral("A002")};
    const QString stem = QStringLiteral("AA*00000*2*2001-05-30-00000001*02*A002*");
    QCOMPARE(lineRows(c, "02"),
             (QVector<QStringList>{
                 QStringList{stem + QStringLiteral("01"), kFirst, QStringLiteral("02"), QStringLiteral("01")} + key
                     + QStringList{QStringLiteral("40701007000"), QStringLiteral("통신비")} + names
                     + QStringList{QStringLiteral("77000"), QStringLiteral("0")},
                 QStringList{stem + QStringLiteral("02"), kFirst, QStringLiteral("02"), QStringLiteral("02")} + key
                     + QStringList{QStringLiteral("10101001000"), QStringLiteral("현금")} + names
                     + QStringList{QStringLiteral("0"), QStringLiteral("77000")},
             }));
    QVERIFY(endDays(c, "02") != writtenAt);
    QCOMPARE(lineRows(c, "01"), lineOne);
    QCOMPARE(lineRows(c, "03"), lineThree);

    // Still correcting, the corrected line chosen again and shown as stored.
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);
    QCOMPARE(desk.edit(QStringLiteral("edSerial"))->text(), kFirst);
    QCOMPARE(desk.w.gridReturnKey(), kFirst + QStringLiteral("02"));
    QCOMPARE(desk.w.voucherList().asText(QStringLiteral("serial_ttt")), kFirst + QStringLiteral("02"));
    QCOMPARE(desk.grid()->currentIndex().row(), desk.w.voucherList().currentRow());
    QCOMPARE(desk.grid()->model()->rowCount(), 3);
    QVERIFY(l.panel->isEnabled());
    QCOMPARE(l.panel->colour(), widgets::aqua());
    QVERIFY(!desk.w.line(1).panel->isEnabled());
    QCOMPARE(l.name(voucher::LookupKind::Account)->text(), QStringLiteral("통신비"));
    QCOMPARE(l.crAmtPlain, QStringLiteral("77000"));

    // A further correction follows at once: a zero amount keeps the line.
    retype(desk, l.crAmt, QStringLiteral("0"));
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList());
    const auto zeroed = lineRows(c, "02");
    QCOMPARE(zeroed.size(), 2);
    QCOMPARE(zeroed[0].mid(zeroed[0].size() - 2), (QStringList{"0", "0"}));
    QCOMPARE(zeroed[1].mid(zeroed[1].size() - 2), (QStringList{"0", "0"}));
    QCOMPARE(desk.w.voucherList().asText(QStringLiteral("serial_ttt")), kFirst + QStringLiteral("02"));
}

void TestCorrect::correctionWritesTheLoadedLine()
{
    USE_ENGINE();
    store::Connection& c = account.connection();
    {
        // The date is changed after the voucher was loaded, and its row is
        // clicked again: the panels still hold the loaded line, which is
        // written under the date it was stored with.
        CHOOSE_LINE_TWO(desk);
        retype(desk, desk.edit(QStringLiteral("edDate")), QStringLiteral("2001-05-31"));
        entrykit::clickGridRow(desk.grid(), entrykit::gridRowOf(desk.grid(), kFirst, QStringLiteral("02")));
        QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);
        retype(desk, desk.w.line(2).crAmt, QStringLiteral("1"));
        retype(desk, desk.w.line(2).acText, QStringLiteral("고친 적요"));
        if (QTest::currentTestFailed())
            return;
        ModalWatcher watcher;
        press(desk, QStringLiteral("SaveBtn"));
        QCOMPARE(watcher.texts, QStringList());
        const auto rows = lineRows(c, "02");
        QCOMPARE(rows.size(), 2);
        for (const QStringList& row : rows) {
            QCOMPARE(row[6], kDate);
            QCOMPARE(row[12], QStringLiteral("고친 적요"));
        }
        QCOMPARE(rows[0].mid(rows[0].size() - 2), (QStringList{"1", "0"}));
        QCOMPARE(rows[1].mid(rows[1].size() - 2), (QStringList{"0", "1"}));
    }
    {
        // Meanwhile the voucher was deleted elsewhere and its freed number
        // taken by a voucher of another branch: that one is not written.
        CHOOSE_LINE_TWO(desk);
        retype(desk, desk.w.line(2).crAmt, QStringLiteral("7"));
        retype(desk, desk.w.line(2).acText, QStringLiteral("고친 적요"));
        if (QTest::currentTestFailed())
            return;
        execSql(c, QStringLiteral("DELETE FROM account_jen_AA WHERE rtrim(Serial_Jen) = '%1'").arg(kFirst));
        voucherseed::insertVoucher(c, kDate, 1, kFirst,
                              {{QStringLiteral("02"), QStringLiteral("40701007000"), QStringLiteral("통신비"), 45000}});
        const auto stored = lineRows(c, "02");
        const QStringList before = windowState(desk);
        ModalWatcher watcher;
        press(desk, QStringLiteral("SaveBtn"));
        QCOMPARE(watcher.texts, QStringList{kNotStored});
        QCOMPARE(lineRows(c, "02"), stored);
        QCOMPARE(windowState(desk), before);
    }
}

void TestCorrect::lineNoLongerStoredIsReported()
{
    USE_ENGINE();
    store::Connection& c = account.connection();
    FETCH_ROW_COUNTS(c);
    {
        // The date is changed after the voucher was listed, and another
        // voucher's row is clicked straight away: nothing is loaded under the
        // new date, so the panels do not hold the chosen line.
        voucherseed::insertVoucher(c, kDate, 0, kSecond,
                              {{QStringLiteral("01"), QStringLiteral("40701007000"), QStringLiteral("통신비"), 45000}});
        CHOOSE_LINE_TWO(desk);
        retype(desk, desk.edit(QStringLiteral("edDate")), QStringLiteral("2001-05-31"));
        entrykit::clickGridRow(desk.grid(), entrykit::gridRowOf(desk.grid(), kSecond, QStringLiteral("01")));
        QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);
        retype(desk, desk.w.line(1).crAmt, QStringLiteral("1"));
        retype(desk, desk.w.line(1).acText, QStringLiteral("고친 적요"));
        if (QTest::currentTestFailed())
            return;
        const auto stored = c.selectNative(QStringLiteral("SELECT %1 FROM account_jen_AA ORDER BY Serial").arg(kColumns));
        const QStringList before = windowState(desk);
        ModalWatcher watcher;
        press(desk, QStringLiteral("SaveBtn"));
        QCOMPARE(watcher.texts, QStringList{kNotStored});
        QCOMPARE(watcher.icons.first(), QMessageBox::Warning);
        QCOMPARE(c.selectNative(QStringLiteral("SELECT %1 FROM account_jen_AA ORDER BY Serial").arg(kColumns)), stored);
        QCOMPARE(windowState(desk), before);
    }
    {
        // Another workstation deleted the credit row: the debit row is not
        // rewritten alone.
        CHOOSE_LINE_TWO(desk);
        retype(desk, desk.w.line(2).crAmt, QStringLiteral("5"));
        retype(desk, desk.w.line(2).acText, QStringLiteral("고친 적요"));
        if (QTest::currentTestFailed())
            return;
        execSql(c, QStringLiteral("DELETE FROM account_jen_AA WHERE rtrim(Serial_Bun) = '02' "
                                            "AND rtrim(Serial_CrDr) = '02'"));
        const auto stored = lineRows(c, "02");
        QCOMPARE(stored.size(), 1);
        const QStringList before = windowState(desk);
        ModalWatcher watcher;
        press(desk, QStringLiteral("SaveBtn"));
        QCOMPARE(watcher.texts, QStringList{kNotStored});
        QCOMPARE(lineRows(c, "02"), stored);
        QCOMPARE(windowState(desk), before);
        QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);
        QVERIFY(desk.w.line(2).panel->isEnabled());
    }
}

void TestCorrect::refusedSecondUpdateKeepsBothRows()
{
    USE_ENGINE();
    store::Connection& c = account.connection();
    failCreditUpdates(c);
    CHOOSE_LINE_TWO(desk);
    retype(desk, desk.w.line(2).crAmt, QStringLiteral("88000"));
    retype(desk, desk.w.line(2).acText, QStringLiteral("금액 정정"));
    if (QTest::currentTestFailed())
        return;
    const auto stored = lineRows(c, "02");
    const QStringList before = windowState(desk);

    ModalWatcher watcher;
    press(desk, QStringLiteral("SaveBtn"));
    QTRY_COMPARE(watcher.texts.size(), 1);
    QCOMPARE(watcher.icons.first(), QMessageBox::Critical);
    QVERIFY2(watcher.texts.first().contains(kFaultText), qPrintable(watcher.texts.first()));
    // The debit row's update is undone with the failed credit row's; the
    // list is still there, on the same line.
    QCOMPARE(lineRows(c, "02"), stored);
    QCOMPARE(windowState(desk), before);
    QCOMPARE(desk.grid()->model()->rowCount(), 3);
    QCOMPARE(desk.w.voucherList().asText(QStringLiteral("serial_ttt")), kFirst + QStringLiteral("02"));

    // Mended, the same correction goes through.
    removeFaults(c);
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts.size(), 1);
    const auto rows = lineRows(c, "02");
    QCOMPARE(rows[0].last(), QStringLiteral("0"));
    QCOMPARE(rows[0][rows[0].size() - 2], QStringLiteral("88000"));
    QCOMPARE(rows[1].last(), QStringLiteral("88000"));
    QCOMPARE(rows[1][12], QStringLiteral("금액 정정"));
}

void TestCorrect::onlyWhatIsShownAndChosenIsStored()
{
    USE_ENGINE();
    store::Connection& c = account.connection();
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    // Typed before a voucher is chosen: line 4 whole, and on line 5 a
    // customer never chosen. The three-line voucher hides both panels.
    LineInput four;
    four.account = {QStringLiteral("접대비"), QStringLiteral("40701006000")};
    four.amount = QStringLiteral("9000");
    typeLine(desk, 4, four);
    typeName(desk, 5, voucher::LookupKind::CustomerBank, {QStringLiteral("한빛"), QString()});
    entrykit::clickGridRow(desk.grid(), entrykit::gridRowOf(desk.grid(), kFirst, QStringLiteral("02")));
    if (QTest::currentTestFailed())
        return;
    QVERIFY(desk.w.line(4).panel->isHidden() && desk.w.line(5).panel->isHidden());
    const auto stored = lineRows(c, "02");

    // The account field left for the customer field loses its code: the
    // correction refuses to store the name alone.
    typeName(desk, 2, voucher::LookupKind::Account, {QStringLiteral("통신비"), QString()});
    ModalWatcher watcher;
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList{QStringLiteral("2라인에 계정과목의 코드를 등록 하세요....")});
    QCOMPARE(lineRows(c, "02"), stored);

    // Chosen, it is stored; the hidden customer of line 5 is not looked at.
    typeName(desk, 2, voucher::LookupKind::Account, {QStringLiteral("통신비"), QStringLiteral("40701007000")});
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts.size(), 1);
    QCOMPARE(lineRows(c, "02").first().at(10), QStringLiteral("40701007000"));

    // The date left for the grid's empty area starts a new voucher: the
    // hidden line 4 does not join it.
    QVERIFY(desk.activate());
    QTest::mouseClick(desk.edit(QStringLiteral("edDate")), Qt::LeftButton);
    QTest::mouseClick(desk.grid()->viewport(), Qt::LeftButton, {}, QPoint(5, desk.grid()->viewport()->height() - 5));
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::New);
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts.size(), 1);
    QCOMPARE(nativeCount(c, QStringLiteral("rtrim(Serial_Jen) = '2001-05-30-00000002'")), 6);
    QCOMPARE(nativeCount(c, QStringLiteral("rtrim(Serial_Bun) = '04'")), 0);
}

void TestCorrect::emptyCodesAreStoredAsEmptyTexts()
{
    USE_ENGINE();
    store::Connection& c = account.connection();
    const QString codes[] = {QStringLiteral("Kubun_Code"), QStringLiteral("Sawon_Code"), QStringLiteral("Buser_Code"),
                             QStringLiteral("Project_Code"), QStringLiteral("Item_Code")};
    QStringList isNull, isEmpty, setNull;
    for (const QString& code : codes) {
        isNull << code + QStringLiteral(" IS NULL");
        isEmpty << QStringLiteral("rtrim(%1) = ''").arg(code);
        setNull << code + QStringLiteral(" = NULL");
    }
    const QString anyNull = u'(' + isNull.join(QStringLiteral(" OR ")) + u')';
    const QString allEmpty = isEmpty.join(QStringLiteral(" AND "));
    // Line 01 of voucher 1 as an older program left it: no codes at all.
    execSql(c, QStringLiteral("UPDATE account_jen_AA SET %1 WHERE rtrim(Serial_Bun) = '01'")
                             .arg(setNull.join(QStringLiteral(", "))));

    // A new voucher with an account only: its other codes are empty texts.
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    LineInput in;
    in.account = {QStringLiteral("소모품비"), QStringLiteral("40701018000")};
    in.amount = QStringLiteral("10000");
    typeLine(desk, 1, in);
    if (QTest::currentTestFailed())
        return;
    ModalWatcher watcher;
    press(desk, QStringLiteral("SaveBtn"));
    const QString second = QStringLiteral("rtrim(Serial_Jen) = '2001-05-30-00000002' AND ");
    QCOMPARE(nativeCount(c, second + anyNull), 0);
    QCOMPARE(nativeCount(c, second + allEmpty), 2);

    // Correcting the line without codes writes empty texts too.
    entrykit::clickGridRow(desk.grid(), entrykit::gridRowOf(desk.grid(), kFirst, QStringLiteral("01")));
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);
    retype(desk, desk.w.line(1).crAmt, QStringLiteral("51000"));
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList());
    const QString first = QStringLiteral("rtrim(Serial_Jen) = '%1' AND rtrim(Serial_Bun) = '01' AND ").arg(kFirst);
    QCOMPARE(nativeCount(c, first + QStringLiteral("Cr_Amt + Dr_Amt = 51000")), 2);
    QCOMPARE(nativeCount(c, first + anyNull), 0);
    QCOMPARE(nativeCount(c, first + allEmpty), 2);
}

ENTRY_TEST_MAIN(TestCorrect)
#include "test_correct.moc"
