// The voucher list of a date and branch, choosing a row (loading its voucher
// into the line panels), Cancel, and the branch selector; on SQLite and on the
// PostgreSQL data source.
#include "entrykit.h"

#include "entry/borvane.h"
#include "widgets/application.h"
#include "testdb.h"
#include "widgets/colourpanel.h"
#include "widgets/colours.h"
#include "widgets/dbgrid.h"

#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

using namespace entrykit;

namespace {

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

QString voucherNumber(int n)
{
    return today() + u'-' + QString::number(n).rightJustified(8, u'0');
}

widgets::ColourPanel* panel(QWidget* w, int n)
{
    return w->findChild<widgets::ColourPanel*>(QStringLiteral("Panel%1").arg(n));
}

QLineEdit* edit(QWidget* w, const QString& name)
{
    return w->findChild<QLineEdit*>(name);
}

// Branch 0 today: voucher 1 with lines 01..03 and voucher 2 with one line.
// Around them: another branch, another date, another voucher kind and form.
void seedDay(store::Connection& c)
{
    voucherseed::Line travel{QStringLiteral("02"), QStringLiteral("81201001000"), QStringLiteral("여비교통비"), 1234567,
                    QStringLiteral("부산 출장 여비")};
    travel.kubunCode = QStringLiteral("10001");
    travel.kubunName = QStringLiteral("(주)한빛상사");
    travel.sawonCode = QStringLiteral("S0001");
    travel.sawonName = QStringLiteral("김민수");
    travel.buserCode = QStringLiteral("B01");
    travel.buserName = QStringLiteral("총무부");
    travel.projectCode = QStringLiteral("P001");
    travel.projectName = QStringLiteral("신사옥 이전");
    travel.itemCode = QStringLiteral("I01");
    travel.itemName = QStringLiteral("비품");
    voucherseed::insertVoucher(c, today(), 0, voucherNumber(1),
                {{QStringLiteral("01"), QStringLiteral("83001001000"), QStringLiteral("소모품비"), 50000,
                  QStringLiteral("사무용품 구입")},
                 travel,
                 {QStringLiteral("03"), QStringLiteral("81301001000"), QStringLiteral("접대비"), 300000,
                  QStringLiteral("거래처 접대")}});
    voucherseed::insertVoucher(c, today(), 0, voucherNumber(2),
                {{QStringLiteral("01"), QStringLiteral("81101001000"), QStringLiteral("복리후생비"), 99000,
                  QStringLiteral("야근 식대")}});
    voucherseed::insertVoucher(c, today(), 1, voucherNumber(3),
                {{QStringLiteral("01"), QStringLiteral("81401001000"), QStringLiteral("통신비"), 45000,
                  QStringLiteral("부산지점 전화요금")}});
    const QString yesterday = QDate::currentDate().addDays(-1).toString(QStringLiteral("yyyy-MM-dd"));
    voucherseed::insertVoucher(c, yesterday, 0, yesterday + QStringLiteral("-00000001"),
                {{QStringLiteral("01"), QStringLiteral("81401001000"), QStringLiteral("통신비"), 1,
                  QStringLiteral("어제")}});
    voucherseed::insertVoucher(c, today(), 0, voucherNumber(4),
                {{QStringLiteral("01"), QStringLiteral("81401001000"), QStringLiteral("통신비"), 2,
                  QStringLiteral("입금 전표")}},
                QStringLiteral("1"));
    voucherseed::insertVoucher(c, today(), 0, voucherNumber(5),
                {{QStringLiteral("01"), QStringLiteral("81401001000"), QStringLiteral("통신비"), 3,
                  QStringLiteral("다른 양식")}},
                QStringLiteral("2"), QStringLiteral("A001"));
}


#define USE_ENGINE()              \
    FETCH_ENGINE();               \
    TestAccount account(engine);  \
    seedDay(account.connection())

} // namespace

class TestEntryList : public QObject {
    Q_OBJECT
private slots:
    void listsOneRowPerLineWithBothSides_data() { addEngines(); }
    void listsOneRowPerLineWithBothSides();
    void choosingARowLoadsItsVoucher_data() { addEngines(); }
    void choosingARowLoadsItsVoucher();
    void cancelRestoresTheFivePanels();
    void loadedAmountsKeepTheirFigures_data() { addEngines(); }
    void loadedAmountsKeepTheirFigures();
    void typingIntoTheBranchSelectorReloads_data() { addEngines(); }
    void typingIntoTheBranchSelectorReloads();
    void leavingTheBranchSelectorForTheGrid();
    void emptyListWarnsOnAKeyInTheGrid();
};

void TestEntryList::listsOneRowPerLineWithBothSides()
{
    USE_ENGINE();
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* grid = w.findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    QCOMPARE(grid->model()->rowCount(), 4);

    const int row = gridRowOf(grid, voucherNumber(1), QStringLiteral("02"));
    QVERIFY(row >= 0);
    QCOMPARE(gridText(grid, row, 1), today());
    QCOMPARE(gridText(grid, row, 2), QStringLiteral("본사/서울"));
    QCOMPARE(gridText(grid, row, 3), QStringLiteral("여비교통비"));
    QCOMPARE(gridText(grid, row, 4), QStringLiteral("1,234,567"));
    QCOMPARE(gridText(grid, row, 5), QStringLiteral("부산 출장 여비"));
    QCOMPARE(gridText(grid, row, 6), QStringLiteral("현금"));
    QCOMPARE(gridText(grid, row, 7), QStringLiteral("1,234,567"));

    for (const auto& [number, line] : {std::pair{1, "01"}, {1, "03"}, {2, "01"}})
        QVERIFY2(gridRowOf(grid, voucherNumber(number), QLatin1String(line)) >= 0, line);
    QCOMPARE(w.voucherList().asText(QStringLiteral("serial_ttt")).isEmpty(), false);
    const int other = gridRowOf(grid, voucherNumber(2), QStringLiteral("01"));
    w.voucherList().setCurrentRow(other);
    QCOMPARE(w.voucherList().asText(QStringLiteral("serial_ttt")), voucherNumber(2) + QStringLiteral("01"));
}

void TestEntryList::choosingARowLoadsItsVoucher()
{
    USE_ENGINE();
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* grid = w.findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    clickGridRow(grid, gridRowOf(grid, voucherNumber(1), QStringLiteral("02")));

    QCOMPARE(w.mode(), voucher::VoucherMode::Correcting);
    QCOMPARE(edit(&w, "edSerial")->text(), voucherNumber(1));
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(panel(&w, n)->isVisible(), n <= 3);
    QCOMPARE(panel(&w, 2)->colour(), widgets::aqua());
    QVERIFY(panel(&w, 2)->isEnabled());
    for (int n : {1, 3}) {
        QCOMPARE(panel(&w, n)->colour(), widgets::buttonFace());
        QVERIFY(!panel(&w, n)->isEnabled());
    }
    for (const char* name : {"CancelBtn", "SaveBtn", "DeleteBtn", "PrintBtn", "CloseBtn"})
        QVERIFY2(w.findChild<QPushButton*>(QLatin1String(name))->isEnabled(), name);
    QVERIFY(!w.findChild<QPushButton*>(QStringLiteral("InsertBtn"))->isEnabled());

    // Names in the fields, codes kept as the line's codes.
    const entry::LinePanel& l = w.line(2);
    QCOMPARE(l.serialBun->text(), QStringLiteral("02"));
    const QList<std::tuple<voucher::LookupKind, QString, QString>> names = {
        {voucher::LookupKind::Account, QStringLiteral("여비교통비"), QStringLiteral("81201001000")},
        {voucher::LookupKind::CustomerBank, QStringLiteral("(주)한빛상사"), QStringLiteral("10001")},
        {voucher::LookupKind::Employee, QStringLiteral("김민수"), QStringLiteral("S0001")},
        {voucher::LookupKind::Department, QStringLiteral("총무부"), QStringLiteral("B01")},
        {voucher::LookupKind::Project, QStringLiteral("신사옥 이전"), QStringLiteral("P001")},
        {voucher::LookupKind::Item, QStringLiteral("비품"), QStringLiteral("I01")},
    };
    for (const auto& [kind, name, code] : names) {
        QCOMPARE(l.name(kind)->text(), name);
        QCOMPARE(l.code(kind), code);
    }
    QCOMPARE(l.acText->text(), QStringLiteral("부산 출장 여비"));
    QCOMPARE(l.crAmt->text(), QString(11, u' ') + QStringLiteral("1,234,567"));
    QCOMPARE(l.crAmtPlain, QStringLiteral("1234567"));
    QCOMPARE(l.drAmt->text(), QString(22, u' ') + u'0');
    QCOMPARE(l.drAmtPlain, QStringLiteral("0"));
    QCOMPARE(w.line(1).name(voucher::LookupKind::Account)->text(), QStringLiteral("소모품비"));
    QCOMPARE(w.line(3).name(voucher::LookupKind::Account)->text(), QStringLiteral("접대비"));

    // What the clerk sees now, for the documentation (VOUCHER_SCREENSHOT=path.png).
    if (const QString shot = qEnvironmentVariable("VOUCHER_SCREENSHOT"); !shot.isEmpty() && engine == "sqlite")
        QVERIFY(w.grab().save(shot));

    // Another voucher: only its one panel shows; line 1 is now the chosen one.
    clickGridRow(grid, gridRowOf(grid, voucherNumber(2), QStringLiteral("01")));
    QCOMPARE(edit(&w, "edSerial")->text(), voucherNumber(2));
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(panel(&w, n)->isVisible(), n == 1);
    QCOMPARE(panel(&w, 1)->colour(), widgets::aqua());
    QCOMPARE(w.line(1).name(voucher::LookupKind::Account)->text(), QStringLiteral("복리후생비"));
    // Lines the voucher does not have keep what they held (their panels are hidden).
    QCOMPARE(w.line(3).name(voucher::LookupKind::Account)->text(), QStringLiteral("접대비"));

    // Moving with the arrow key loads the row that becomes current.
    const int before = grid->currentIndex().row();
    QTest::keyClick(grid, before == 0 ? Qt::Key_Down : Qt::Key_Up);
    QVERIFY(grid->currentIndex().row() != before);
    const QString serial = w.voucherList().asText(QStringLiteral("serial_jen"));
    QCOMPARE(edit(&w, "edSerial")->text(), serial);
    QCOMPARE(w.mode(), voucher::VoucherMode::Correcting);
}

void TestEntryList::cancelRestoresTheFivePanels()
{
    TestAccount account(QStringLiteral("sqlite"));
    seedDay(account.connection());
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* grid = w.findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    clickGridRow(grid, gridRowOf(grid, voucherNumber(1), QStringLiteral("03")));
    QCOMPARE(w.mode(), voucher::VoucherMode::Correcting);
    const int chosenRow = grid->currentIndex().row();

    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("CancelBtn")), Qt::LeftButton);
    QCOMPARE(w.mode(), voucher::VoucherMode::Idle);
    for (int n = 1; n <= 5; ++n) {
        QVERIFY(panel(&w, n)->isVisible());
        QVERIFY(panel(&w, n)->isEnabled());
        QCOMPARE(panel(&w, n)->colour(), widgets::buttonFace());
        QCOMPARE(w.line(n).serialBun->text(), QString::number(n).rightJustified(2, u'0'));
        for (voucher::LookupKind kind : voucher::kAllNameKinds) {
            QCOMPARE(w.line(n).name(kind)->text(), QString());
            QCOMPARE(w.line(n).code(kind), QString());
        }
        QCOMPARE(w.line(n).crAmt->text(), QString());
        QCOMPARE(w.line(n).drAmt->text(), QString());
    }
    QCOMPARE(edit(&w, "edSerial")->text(), QString());
    QVERIFY(w.findChild<QPushButton*>(QStringLiteral("InsertBtn"))->isEnabled());
    QVERIFY(!w.findChild<QPushButton*>(QStringLiteral("CancelBtn"))->isEnabled());
    // The list stays as it was.
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(grid->currentIndex().row(), chosenRow);
}

void TestEntryList::loadedAmountsKeepTheirFigures()
{
    USE_ENGINE();
    voucherseed::insertVoucher(account.connection(), today(), 0, voucherNumber(9),
                {{QStringLiteral("01"), QStringLiteral("81401001000"), QStringLiteral("통신비"), 1234567890123.0},
                 {QStringLiteral("02"), QStringLiteral("81401001000"), QStringLiteral("통신비"), -5},
                 {QStringLiteral("03"), QStringLiteral("81401001000"), QStringLiteral("통신비"), 1234.6},
                 {QStringLiteral("04"), QStringLiteral("81401001000"), QStringLiteral("통신비"), 0}});
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* grid = w.findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    clickGridRow(grid, gridRowOf(grid, voucherNumber(9), QStringLiteral("01")));

    // Thirteen digits have no place in the blank table: the figure is shown alone.
    QCOMPARE(w.line(1).crAmtPlain, QStringLiteral("1234567890123"));
    QCOMPARE(w.line(1).crAmt->text(), QStringLiteral("1,234,567,890,123"));
    QCOMPARE(w.line(2).crAmtPlain, QStringLiteral("-5"));
    QCOMPARE(w.line(2).crAmt->text(), QString(21, u' ') + QStringLiteral("-5"));
    QCOMPARE(w.line(3).crAmtPlain, QStringLiteral("1235"));
    QCOMPARE(w.line(3).crAmt->text(), QString(17, u' ') + QStringLiteral("1,235"));
    QCOMPARE(w.line(4).crAmt->text(), QString(22, u' ') + u'0');
    for (int n = 1; n <= 4; ++n)
        QVERIFY(panel(&w, n)->isVisible());
}

void TestEntryList::typingIntoTheBranchSelectorReloads()
{
    USE_ENGINE();
    execSql(account.connection(), QStringLiteral("insert into kubun_table values ('00005', '판교테크노밸리지점', "
                                                 "'경기도 성남시 분당구 판교역로 235 에이치스퀘어 엔동')"));
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* grid = w.findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    auto* branches = w.findChild<QComboBox*>(QStringLiteral("cbKubun"));
    auto* list = branches->findChild<QListView*>(QStringLiteral("cbKubunList"));
    if (!list) // the drop list is a window of its own
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("cbKubunList"))
                list = qobject_cast<QListView*>(top);
    QVERIFY(list);

    // Load a voucher first, so that the reload visibly clears the panels.
    clickGridRow(grid, gridRowOf(grid, voucherNumber(1), QStringLiteral("02")));
    QCOMPARE(w.mode(), voucher::VoucherMode::Correcting);

    // Entering the selector drops its list down, as wide as its longest
    // name (an address in it); the keyboard stays with the text.
    edit(&w, "edDate")->setFocus();
    QTest::keyClick(edit(&w, "edDate"), Qt::Key_Tab);
    QCOMPARE(focusName(&w), QStringLiteral("cbKubun"));
    QVERIFY(list->isVisible() && list->width() >= list->sizeHintForColumn(0));

    QTest::keyClick(branches, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(branches, Qt::Key_X);
    QCOMPARE(branches->currentText(), QStringLiteral("x"));
    QCOMPARE(w.branchIndex(), -1);
    QCOMPARE(grid->model()->rowCount(), 0);
    QCOMPARE(w.mode(), voucher::VoucherMode::Idle);
    for (int n = 1; n <= 5; ++n)
        QVERIFY(panel(&w, n)->isVisible() && panel(&w, n)->isEnabled());
    QCOMPARE(edit(&w, "edSerial")->text(), QString());
    QCOMPARE(w.line(2).name(voucher::LookupKind::Account)->text(), QString());

    // Typing the whole name of the second branch lists its voucher.
    QTest::keyClick(branches, Qt::Key_Backspace);
    typeText(branches, QStringLiteral("부산지점/부산"));
    QCOMPARE(branches->currentText(), QStringLiteral("부산지점/부산"));
    QCOMPARE(w.branchIndex(), 1);
    QCOMPARE(grid->model()->rowCount(), 1);
    QVERIFY(gridRowOf(grid, voucherNumber(3), QStringLiteral("01")) == 0);
    QVERIFY(list->isVisible());

    // A click on an item of the dropped-down list chooses that branch.
    const QRect first = list->visualRect(list->model()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(branches->currentText(), QStringLiteral("본사/서울"));
    QCOMPARE(w.branchIndex(), 0);
    QCOMPARE(grid->model()->rowCount(), 4);
    QVERIFY(!list->isVisible());
    QCOMPARE(focusName(&w), QStringLiteral("cbKubun"));
    // So is the list its arrow opens; the box keeps its size.
    QTest::mouseClick(branches, Qt::LeftButton, {}, QPoint(branches->width() - 4, 10));
    QTRY_VERIFY(branches->view()->isVisible() && branches->view()->width() >= list->sizeHintForColumn(0));
    QTest::keyClick(branches->view(), Qt::Key_Escape);
    QCOMPARE(branches->width(), 92);

    // Leaving the selector for a field closes the list and reloads.
    QTest::keyClick(branches, Qt::Key_Tab);
    QCOMPARE(focusName(&w), QStringLiteral("edAc_JenName_01"));
    QVERIFY(!list->isVisible());
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(w.mode(), voucher::VoucherMode::Idle);
}

void TestEntryList::leavingTheBranchSelectorForTheGrid()
{
    TestAccount account(QStringLiteral("sqlite"));
    seedDay(account.connection());
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* grid = w.findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    w.findChild<QComboBox*>(QStringLiteral("cbKubun"))->setFocus();
    QCOMPARE(focusName(&w), QStringLiteral("cbKubun"));

    // The press takes the focus into the grid: new-entry mode, no reload.
    const int row = gridRowOf(grid, voucherNumber(2), QStringLiteral("01"));
    const QPoint at = grid->visualRect(grid->model()->index(row, 3)).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(focusName(&w), QStringLiteral("DBGrid1"));
    QCOMPARE(w.mode(), voucher::VoucherMode::New);
    QVERIFY(!w.findChild<QPushButton*>(QStringLiteral("SaveBtn"))->isEnabled()); // buttons not refreshed
    // The release completes the click on the cell: the row is chosen.
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(w.mode(), voucher::VoucherMode::Correcting);
    QCOMPARE(edit(&w, "edSerial")->text(), voucherNumber(2));
}

void TestEntryList::emptyListWarnsOnAKeyInTheGrid()
{
    TestAccount account(QStringLiteral("sqlite"));
    entry::TfmBorvane w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* grid = w.findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    grid->setFocus();
    ModalWatcher watcher;
    QTest::keyPress(grid, Qt::Key_Down);
    QTRY_COMPARE(watcher.texts.size(), 1);
    QCOMPARE(watcher.texts.first(), QStringLiteral("현재 데이타가 없읍니다...."));
    QCOMPARE(watcher.icons.first(), QMessageBox::Warning);
    QCOMPARE(w.mode(), voucher::VoucherMode::Correcting);
    // The panels stay hidden and the focus goes to the button bar.
    for (int n = 1; n <= 5; ++n)
        QVERIFY(panel(&w, n)->isHidden());
    QCOMPARE(focusName(&w), QStringLiteral("Panel7"));
}

ENTRY_TEST_MAIN(TestEntryList)
#include "test_entrylist.moc"
