// Saving a new voucher typed as a clerk types it, through the lookups: the
// stored rows, the window afterwards, the refusals of the checks, and a
// store that refuses part-way or at commit; on SQLite and PostgreSQL.
#include "clerkdesk.h"
#include "entrykit.h"

#include "widgets/dbgrid.h"
#include "core/errors.h"
#include "widgets/application.h"
#include "store/statement.h"
#include "voucher/voucherbook.h"
#include "testdb.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace clerkdesk;

namespace {

const QString kDate = QStringLiteral("2001-05-30");
const QString kFirst = QStringLiteral("2001-05-30-00000001");
constexpr int kGwangju = 3; // the branch at position 3

const QString kRowColumns = QStringLiteral(
    "Serial, Serial_Jen, Serial_Bun, Serial_CrDr, Month_Char, Year_Char, Date_Day, Table_Kubun, Kubun_Bon,"
    " Kubun_Jen, Kubun_Amt, Form_Kubun, Giel_Serial, Ac_JenCode, Ac_JenName, Ac_Text, Item_Code, Item_Name,"
    " Kubun_Code, Kubun_Name, Project_Code, Project_Name, Buser_Code, Buser_Name, Sawon_Code, Sawon_Name,"
    " Cr_Amt, Dr_Amt");

// A travel line with every name chosen in its lookup.
LineInput travelLine()
{
    LineInput in;
    in.account = {QStringLiteral("여비교통비"), QStringLiteral("40701005000")};
    in.customer = {QStringLiteral("한빛"), QStringLiteral("10001")};
    in.employee = {QStringLiteral("박민수"), QStringLiteral("1003")};
    in.department = {QStringLiteral("회계팀"), QStringLiteral("110")};
    in.project = {QStringLiteral("ERP"), QStringLiteral("P2001-03")};
    in.text = QStringLiteral("부산 출장 교통비");
    in.item = {QStringLiteral("통행료"), QStringLiteral("I005")};
    in.amount = QStringLiteral("50000");
    return in;
}

LineInput entertainmentLine(const QString& amount = QStringLiteral("120000"))
{
    LineInput in;
    in.account = {QStringLiteral("접대비"), QStringLiteral("40701006000")};
    in.text = QStringLiteral("거래처 접대");
    in.amount = amount;
    return in;
}


#define USE_ENGINE()            \
    FETCH_ENGINE();             \
    TestAccount account(engine)

} // namespace

class TestSave : public QObject {
    Q_OBJECT
private slots:
    void linesOneAndThreeGiveFourRows_data() { addEngines(); }
    void linesOneAndThreeGiveFourRows();
    void negativeStoredZeroSkippedLastLineSelected_data() { addEngines(); }
    void negativeStoredZeroSkippedLastLineSelected();
    void allZeroAmountsStoreNothing();
    void unsoundVoucherIsRefused_data();
    void unsoundVoucherIsRefused();
    void typedLinesAreNotThrownAwayUnasked_data() { addEngines(); }
    void typedLinesAreNotThrownAwayUnasked();
    void zeroInDisplayFormNeedsAnAccount();
    void namesWithoutCodesAreRefusedInOrder();
    void emptyListOutsideNewEntryIsRefused();
    void refusedByTheStoreKeepsNothing_data();
    void refusedByTheStoreKeepsNothing();
    void writerNumbersAndStoresWhole_data() { addEngines(); }
    void writerNumbersAndStoresWhole();
};

void TestSave::linesOneAndThreeGiveFourRows()
{
    USE_ENGINE();
    Desk desk;
    chooseDateAndBranch(desk, kDate, kGwangju);
    typeLine(desk, 1, travelLine());
    typeLine(desk, 3, entertainmentLine());
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::New);
    const QString customer = desk.w.line(1).name(voucher::LookupKind::CustomerBank)->text();
    const QString project = desk.w.line(1).name(voucher::LookupKind::Project)->text();
    QVERIFY(!customer.isEmpty() && !project.isEmpty());

    ModalWatcher watcher;
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList());

    const auto rows = voucherRows(account.connection(), kFirst, kRowColumns);
    QCOMPARE(rows.size(), 4);
    const QStringList common = {QStringLiteral("05"), QStringLiteral("2001"), kDate, QStringLiteral("AA"),
                                QStringLiteral("00003"), QStringLiteral("2"), QStringLiteral("5"),
                                QStringLiteral("A002"), QStringLiteral("999")};
    const QString stem = QStringLiteral("AA*00003*2*2001-05-30-00000001*");
    const QStringList line1Names = {QStringLiteral("부산 출장 교통비"), QStringLiteral("I005"), QStringLiteral("통행료"),
                                    QStringLiteral("10001"), customer, QStringLiteral("P2001-03"), project,
                                    QStringLiteral("110"), QStringLiteral("회계팀"), QStringLiteral("1003"),
                                    QStringLiteral("박민수")};
    const QStringList line3Names = {QStringLiteral("거래처 접대"), "", "", "", "", "", "", "", "", "", ""};
    const auto row = [&](const char* line, const char* side, const QString& code, const QString& name,
                         const QStringList& names, const char* cr, const char* dr) {
        return QStringList{stem + QLatin1String(line) + QStringLiteral("*A002*") + QLatin1String(side), kFirst,
                           QLatin1String(line), QLatin1String(side)}
               + common + QStringList{code, name} + names + QStringList{QLatin1String(cr), QLatin1String(dr)};
    };
    const QString cash = QStringLiteral("10101001000");
    // Credit row (cash) then debit row (the account) per line, amounts mirrored.
    QCOMPARE(rows[0], row("01", "02", cash, QStringLiteral("현금"), line1Names, "0", "50000"));
    QCOMPARE(rows[1], row("01", "01", QStringLiteral("40701005000"), QStringLiteral("여비교통비"), line1Names, "50000", "0"));
    QCOMPARE(rows[2], row("03", "02", cash, QStringLiteral("현금"), line3Names, "0", "120000"));
    QCOMPARE(rows[3], row("03", "01", QStringLiteral("40701006000"), QStringLiteral("접대비"), line3Names, "120000", "0"));
    QCOMPARE(nativeCount(account.connection(), QStringLiteral("End_Day IS NULL")), 0);

    // Idle again, cleared, with the new voucher's last line chosen in the list.
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Idle);
    QCOMPARE(desk.edit(QStringLiteral("edSerial"))->text(), QString());
    QVERIFY(desk.button(QStringLiteral("InsertBtn"))->isEnabled());
    QVERIFY(!desk.button(QStringLiteral("SaveBtn"))->isEnabled());
    for (int n = 1; n <= voucher::kLineCount; ++n) {
        const entry::LinePanel& l = desk.w.line(n);
        QCOMPARE(l.name(voucher::LookupKind::Account)->text(), QString());
        QCOMPARE(l.code(voucher::LookupKind::Account), QString());
        QCOMPARE(l.crAmt->text(), QString());
    }
    QCOMPARE(desk.w.lastStoredKey(), kFirst + QStringLiteral("03"));
    QCOMPARE(desk.grid()->model()->rowCount(), 2);
    QCOMPARE(desk.w.voucherList().asText(QStringLiteral("serial_ttt")), kFirst + QStringLiteral("03"));
    QCOMPARE(desk.grid()->currentIndex().row(), desk.w.voucherList().currentRow());
    QCOMPARE(entrykit::focusName(&desk.w), QStringLiteral("Panel7"));
}

void TestSave::negativeStoredZeroSkippedLastLineSelected()
{
    USE_ENGINE();
    // Another voucher of the date is there already: the new one is number 2.
    voucherseed::insertVoucher(account.connection(), kDate, 0, kFirst,
                          {{QStringLiteral("01"), QStringLiteral("40701007000"), QStringLiteral("통신비"), 45000}});
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    QCOMPARE(desk.grid()->model()->rowCount(), 1);
    typeLine(desk, 1, entertainmentLine(QStringLiteral("-3000")));
    LineInput accountOnly = entertainmentLine(QString());
    typeLine(desk, 2, accountOnly);
    typeLine(desk, 4, travelLine());
    if (QTest::currentTestFailed())
        return;

    ModalWatcher watcher;
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList());

    const QString second = QStringLiteral("2001-05-30-00000002");
    const auto rows = voucherRows(account.connection(), second, QStringLiteral("Serial_Bun, Serial_CrDr, Cr_Amt, Dr_Amt"));
    const QVector<QStringList> expected = {
        {"01", "02", "0", "-3000"}, {"01", "01", "-3000", "0"}, {"04", "02", "0", "50000"}, {"04", "01", "50000", "0"}};
    QCOMPARE(rows, expected);
    QCOMPARE(desk.grid()->model()->rowCount(), 3);
    QCOMPARE(desk.w.voucherList().asText(QStringLiteral("serial_ttt")), second + QStringLiteral("04"));
    QCOMPARE(desk.grid()->currentIndex().row(), desk.w.voucherList().currentRow());
}

void TestSave::allZeroAmountsStoreNothing()
{
    TestAccount account(QStringLiteral("sqlite"));
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    // An account, and an amount field entered and left: it shows a zero.
    typeLine(desk, 1, entertainmentLine(QString()));
    retype(desk, desk.w.line(1).crAmt, QString());
    if (QTest::currentTestFailed())
        return;

    // A save that would store no row says so and keeps what was typed.
    ModalWatcher watcher;
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList{QStringLiteral("저장할 금액이 입력된 라인이 없습니다. 금액을 입력하세요....")});
    QCOMPARE(nativeCount(account.connection(), QStringLiteral("1 = 1")), 0);
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::New);
    QCOMPARE(desk.w.line(1).name(voucher::LookupKind::Account)->text(), QStringLiteral("접대비"));
    QCOMPARE(entrykit::focusName(&desk.w), QStringLiteral("edCr_Amt_01"));

    // The refusal left no trace: with an amount the voucher gets number 1.
    entrykit::typeText(desk.w.line(1).crAmt, QStringLiteral("120000"));
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts.size(), 1);
    QCOMPARE(voucherRows(account.connection(), kFirst, QStringLiteral("Serial_Bun")).size(), 2);
}

void TestSave::unsoundVoucherIsRefused_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("focus");
    const struct {
        const char* fault;
        QStringList messages;
        const char* focus;
    } rows[] = {
        {"account typed, never chosen", {QStringLiteral("1라인에 계정과목의 코드를 등록 하세요....")}, "edAc_JenName_01"},
        {"chosen customer edited", {QStringLiteral("1라인에 거래처및은행명의 코드를 등록 하세요....")}, "edKubun_Name_01"},
        {"date no calendar day", {QStringLiteral("2001-02-30 : 유효하지 않은 날짜 형식입니다.")}, "edDate"},
        // Ac_Text holds 200 bytes; the field takes 400.
        {"description over its column",
         {QStringLiteral("1라인 적요: 200바이트(한글 100자)까지만 저장할 수 있습니다....")},
         "edAc_Text_01"},
        {"description with a NUL",
         {QStringLiteral("1라인 적요: 7번째 글자에 보이지 않는 제어 문자가 들어 있습니다. 그 문자를 지우고 다시 입력하세요....")},
         "edAc_Text_01"},
        {"description with a sign CP949 lacks",
         {QStringLiteral("1라인 적요: 7번째 글자에 저장할 수 없는 문자가 들어 있습니다. 그 문자를 지우고 다시 입력하세요....")},
         "edAc_Text_01"},
        {"amount with Hangul",
         {QStringLiteral("1라인의 금액은 숫자로만 입력할 수 있습니다...."),
          QStringLiteral("3천 : 금액은 숫자로만 입력할 수 있습니다.")},
         "edCr_Amt_01"},
    };
    for (const char* engine : {"sqlite", "postgres"})
        for (const auto& r : rows)
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(engine), QLatin1String(r.fault))))
                << QString::fromLatin1(engine) << QString::fromLatin1(r.fault) << r.messages
                << QString::fromLatin1(r.focus);
}

void TestSave::unsoundVoucherIsRefused()
{
    USE_ENGINE();
    QFETCH(QString, fault);
    QFETCH(QStringList, messages);
    QFETCH(QString, focus);
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    LineInput in = travelLine();
    if (fault.startsWith(QLatin1String("account")))
        in.account.code.clear();
    typeLine(desk, 1, in);
    if (QTest::currentTestFailed())
        return;
    QLineEdit* amount = desk.w.line(1).crAmt;
    ModalWatcher watcher;
    const QChar pasted = fault.endsWith(QLatin1String("NUL")) ? QChar(0) : QChar(0x2615); // ☕
    if (fault.startsWith(QLatin1String("chosen"))) {
        // Changed after the choice, and left for the save button only.
        retype(desk, desk.w.line(1).name(voucher::LookupKind::CustomerBank), QStringLiteral("한빛전자"));
        press(desk, QStringLiteral("SaveBtn"));
    } else if (fault.startsWith(QLatin1String("date"))) {
        // Left straight for the grid, the date was never checked.
        retype(desk, desk.edit(QStringLiteral("edDate")), QStringLiteral("2001-02-30"));
        QTest::mouseClick(desk.grid()->viewport(), Qt::LeftButton, {}, QPoint(5, desk.grid()->viewport()->height() - 5));
        press(desk, QStringLiteral("SaveBtn"));
    } else if (fault.startsWith(QLatin1String("description"))) {
        QLineEdit* text = desk.w.line(1).acText;
        if (fault.endsWith(QLatin1String("column"))) {
            retype(desk, text, QString(150, u'x') + QString(51, u'가'));
        } else {
            QApplication::clipboard()->setText(QStringLiteral("부산") + pasted + QStringLiteral("출장"));
            retype(desk, text, QStringLiteral("교통비 "));
            text->paste();
        }
        press(desk, QStringLiteral("SaveBtn"));
    } else if (fault.startsWith(QLatin1String("amount"))) {
        // Pasted after the figure: refused at the save and on leaving.
        QApplication::clipboard()->setText(QStringLiteral("천"));
        retype(desk, amount, QStringLiteral("3"));
        amount->paste();
        QTest::keyClick(amount, Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(watcher.texts.size(), 1);
        QVERIFY(desk.activate());
        QTest::keyClick(amount, Qt::Key_Tab);
    } else {
        QTest::keyClick(amount, Qt::Key_S, Qt::AltModifier);
    }
    QTRY_COMPARE(watcher.texts, messages);
    QCOMPARE(watcher.icons.last(), QMessageBox::Warning);
    QVERIFY(desk.activate());
    QCOMPARE(entrykit::focusName(&desk.w), focus);
    if (fault.endsWith(QLatin1String("NUL")) || fault.endsWith(QLatin1String("lacks")))
        QCOMPARE(desk.w.line(1).acText->selectedText(), QString(pasted));
    if (fault.endsWith(QLatin1String("column"))) // to be retyped: all of it selected
        QCOMPARE(desk.w.line(1).acText->selectedText(), desk.w.line(1).acText->text());
    QCOMPARE(nativeCount(account.connection(), QStringLiteral("1 = 1")), 0);
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::New);
}

void TestSave::typedLinesAreNotThrownAwayUnasked()
{
    USE_ENGINE();
    const QString ask = QStringLiteral("입력한 전표 라인이 저장되지 않았습니다.\n입력한 내용을 지우고 목록을 다시 조회하시겠습니까?");
    const QString nextDay = QStringLiteral("2001-05-31");
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    typeLine(desk, 1, entertainmentLine());
    if (QTest::currentTestFailed())
        return;
    QLineEdit* edDate = desk.edit(QStringLiteral("edDate"));
    QLineEdit* accountName = desk.w.line(1).name(voucher::LookupKind::Account);
    {
        // Leaving the date asks first; No returns to the date, lines kept.
        ModalWatcher no;
        no.answerKey = Qt::Key_Escape;
        retype(desk, edDate, nextDay);
        QTest::keyClick(edDate, Qt::Key_Tab);
        QTRY_COMPARE(no.texts, QStringList{ask});
        QVERIFY(desk.activate());
        QCOMPARE(entrykit::focusName(&desk.w), QStringLiteral("edDate"));
        QCOMPARE(accountName->text(), QStringLiteral("접대비"));
        QCOMPARE(desk.w.mode(), voucher::VoucherMode::New);
    }
    {
        // Alt+S in the date stores the typed lines under that date.
        ModalWatcher watcher;
        QTest::keyClick(edDate, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(watcher.texts, QStringList());
        QCOMPARE(voucherRows(account.connection(), nextDay + QStringLiteral("-00000001"), QStringLiteral("Serial_Bun")),
                 (QVector<QStringList>{{"01"}, {"01"}}));
        QCOMPARE(desk.w.mode(), voucher::VoucherMode::Idle);
    }
    typeLine(desk, 1, entertainmentLine());
    if (QTest::currentTestFailed())
        return;
    QLineEdit* branchText = desk.w.findChild<QComboBox*>(QStringLiteral("cbKubun"))->lineEdit();
    {
        // A branch typed over asks too; No gives the branch back.
        ModalWatcher no;
        no.answerKey = Qt::Key_Escape;
        QVERIFY(desk.activate());
        QTest::mouseClick(branchText, Qt::LeftButton);
        QTest::keyClick(branchText, Qt::Key_X);
        QTRY_COMPARE(no.texts, QStringList{ask});
        QCOMPARE(desk.w.branchIndex(), 0);
        QCOMPARE(accountName->text(), QStringLiteral("접대비"));
    }
    // Yes (Enter) goes on as before: a new list, the panels cleared.
    ModalWatcher yes;
    QVERIFY(desk.activate());
    QTest::keyClick(branchText, Qt::Key_X);
    QTRY_COMPARE(yes.texts, QStringList{ask});
    QCOMPARE(desk.w.branchIndex(), -1);
    QCOMPARE(accountName->text(), QString());
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Idle);
}

void TestSave::zeroInDisplayFormNeedsAnAccount()
{
    TestAccount account(QStringLiteral("sqlite"));
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    typeLine(desk, 1, entertainmentLine());
    // Line 2's amount entered and left without typing shows a right-aligned
    // zero, which is not the text "0": it needs an account.
    retype(desk, desk.w.line(2).crAmt, QString());
    if (QTest::currentTestFailed())
        return;

    ModalWatcher watcher;
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList{QStringLiteral("2라인에 계정과목을 등록 하세요....")});
    QCOMPARE(watcher.icons.first(), QMessageBox::Warning);
    QCOMPARE(entrykit::focusName(&desk.w), QStringLiteral("edAc_JenName_02"));
    QCOMPARE(nativeCount(account.connection(), QStringLiteral("1 = 1")), 0);
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::New);
    // Lines looked at before the refusal show "0" where they were empty.
    QCOMPARE(desk.w.line(1).drAmt->text(), QStringLiteral("0"));
    QCOMPARE(desk.w.line(2).drAmt->text(), QStringLiteral("0"));
    QCOMPARE(desk.w.line(3).crAmt->text(), QString());
}

void TestSave::namesWithoutCodesAreRefusedInOrder()
{
    TestAccount account(QStringLiteral("sqlite"));
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    // Line 1 is complete but for its item; lines 2 to 5 have no amount, only
    // a name typed and left without choosing a row in its lookup.
    LineInput first = entertainmentLine();
    first.item = {QStringLiteral("통행료"), QString()};
    typeLine(desk, 1, first);
    typeName(desk, 2, voucher::LookupKind::CustomerBank, {QStringLiteral("한빛"), QString()});
    typeName(desk, 3, voucher::LookupKind::Employee, {QStringLiteral("박민수"), QString()});
    typeName(desk, 4, voucher::LookupKind::Department, {QStringLiteral("회계팀"), QString()});
    typeName(desk, 5, voucher::LookupKind::Project, {QStringLiteral("ERP"), QString()});
    if (QTest::currentTestFailed())
        return;

    // Customer and bank first, then employee, department, project, item;
    // each refusal is mended by a click in the lookup that is still open.
    const struct {
        const char* message;
        const char* field;
        voucher::LookupKind kind;
        int line;
        const char* code;
    } refusals[] = {
        {"2라인에 거래처및은행명의 코드를 등록 하세요....", "edKubun_Name_02", voucher::LookupKind::CustomerBank, 2, "10001"},
        {"3라인에 사원이름의 코드를 등록 하세요....", "edSawon_Name_03", voucher::LookupKind::Employee, 3, "1003"},
        {"4라인에 부서이름의 코드를 등록 하세요....", "edBuser_Name_04", voucher::LookupKind::Department, 4, "110"},
        {"5라인에 프로젝트이름의 코드를 등록 하세요....", "edProject_Name_05", voucher::LookupKind::Project, 5, "P2001-03"},
        {"1라인에 아이템 명의 코드를 등록 하세요....", "edItem_Name01", voucher::LookupKind::Item, 1, "I005"},
    };
    for (const auto& r : refusals) {
        ModalWatcher watcher;
        press(desk, QStringLiteral("SaveBtn"));
        QTRY_COMPARE(watcher.texts, QStringList{QString::fromUtf8(r.message)});
        QCOMPARE(entrykit::focusName(&desk.w), QLatin1String(r.field));
        QCOMPARE(nativeCount(account.connection(), QStringLiteral("1 = 1")), 0);
        lookup::LookupFrame* dialog = desk.dialog(r.kind);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->targetLine(), r.line);
        auto* grid = dialog->findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
        store::SqlStatement* q = dialog->query();
        int row = 0;
        while (row < grid->model()->rowCount()
               && q->value(row, q->columnIndex(dialog->reading().codeColumn)).toString().trimmed() != QLatin1String(r.code))
            ++row;
        entrykit::clickGridRow(grid, row, 1);
        QCOMPARE(desk.w.line(r.line).code(r.kind), QLatin1String(r.code));
    }
    ModalWatcher watcher;
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList());
    // Only line 1 has an amount; the names of the other lines are not stored.
    const auto rows = voucherRows(account.connection(), kFirst, QStringLiteral("Serial_Bun, Item_Code"));
    QCOMPARE(rows, (QVector<QStringList>{{"01", "I005"}, {"01", "I005"}}));
}

void TestSave::emptyListOutsideNewEntryIsRefused()
{
    TestAccount account(QStringLiteral("sqlite"));
    Desk desk;
    chooseDateAndBranch(desk, kDate, 0);
    QCOMPARE(desk.grid()->model()->rowCount(), 0);
    {
        // A key in the empty grid chooses "a row": mode 2, and a warning.
        ModalWatcher watcher;
        desk.grid()->setFocus();
        QTest::keyPress(desk.grid(), Qt::Key_Down);
        QTRY_COMPARE(watcher.texts.size(), 1);
    }
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);
    QVERIFY(desk.button(QStringLiteral("SaveBtn"))->isEnabled());
    ModalWatcher watcher;
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList{QStringLiteral("현재 데이타가 없읍니다....")});
    QCOMPARE(entrykit::focusName(&desk.w), QStringLiteral("Panel7"));
    QCOMPARE(nativeCount(account.connection(), QStringLiteral("1 = 1")), 0);
}

void TestSave::refusedByTheStoreKeepsNothing_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("fault");
    QTest::newRow("sqlite, an insert") << QStringLiteral("sqlite") << QStringLiteral("insert");
    QTest::newRow("sqlite, the commit") << QStringLiteral("sqlite") << QStringLiteral("commit");
    QTest::newRow("postgres, an insert") << QStringLiteral("postgres") << QStringLiteral("insert");
    QTest::newRow("postgres, the commit") << QStringLiteral("postgres") << QStringLiteral("commit");
}

void TestSave::refusedByTheStoreKeepsNothing()
{
    USE_ENGINE();
    QFETCH(QString, fault);
    store::Connection& c = account.connection();
    if (fault == QLatin1String("insert"))
        failInsertsOfLine(c, QStringLiteral("03"));
    else if (fault == QLatin1String("commit"))
        failCommits(c);

    Desk desk;
    chooseDateAndBranch(desk, kDate, kGwangju);
    typeLine(desk, 1, travelLine());
    typeLine(desk, 3, entertainmentLine());
    retype(desk, desk.w.line(5).acText, QStringLiteral("메모")); // the amount field is left first
    if (QTest::currentTestFailed())
        return;
    const QStringList before = windowState(desk);

    ModalWatcher watcher;
    press(desk, QStringLiteral("SaveBtn"));
    QTRY_COMPARE(watcher.texts.size(), 1);
    QCOMPARE(watcher.icons.first(), QMessageBox::Critical);
    if (!(fault == QLatin1String("commit") && engine == QLatin1String("sqlite")))
        QVERIFY2(watcher.texts.first().contains(kFaultText), qPrintable(watcher.texts.first()));

    // Nothing of the voucher is kept, nor a record of it, and the clerk finds it as typed.
    QCOMPARE(nativeCount(c, QStringLiteral("1 = 1")), 0);
    QCOMPARE(c.selectNative(QStringLiteral("SELECT count(*) FROM voucher_history")).value(0).value(0), QStringLiteral("0"));
    QCOMPARE(windowState(desk), before);
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::New);

    // Mended, the same voucher saves under the number it would have had.
    removeFaults(c);
    press(desk, QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts.size(), 1);
    QCOMPARE(voucherRows(c, kFirst, QStringLiteral("Serial_Bun")).size(), 4);
    QCOMPARE(c.selectNative(QStringLiteral("SELECT count(*) FROM voucher_history")).value(0).value(0), QStringLiteral("2"));
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Idle);
}

void TestSave::writerNumbersAndStoresWhole()
{
    USE_ENGINE();
    store::Connection& c = account.connection();
    voucher::VoucherBook book(c);
    voucher::VoucherLine paper;
    paper.serialBun = QStringLiteral("01");
    paper.names[size_t(voucher::LookupKind::Account)] = QStringLiteral("소모품비");
    paper.codes[size_t(voucher::LookupKind::Account)] = QStringLiteral("40701018000");
    paper.acText = QStringLiteral("복사용지");
    paper.crAmt = 33000;
    voucher::VoucherLine nothing = paper;
    nothing.serialBun = QStringLiteral("02");
    nothing.crAmt = 0;
    voucher::VoucherLine refund = paper;
    refund.serialBun = QStringLiteral("03");
    refund.crAmt = -500;

    const auto first = book.saveNewVoucher(kDate, 2, {paper, nothing, refund});
    QCOMPARE(first.serialJen, kFirst);
    QCOMPARE(first.lastStoredKey, kFirst + QStringLiteral("03"));
    QCOMPARE(voucherRows(c, kFirst, QStringLiteral("Serial, Cr_Amt, Dr_Amt")),
             (QVector<QStringList>{{"AA*00002*2*2001-05-30-00000001*01*A002*02", "0", "33000"},
                                   {"AA*00002*2*2001-05-30-00000001*01*A002*01", "33000", "0"},
                                   {"AA*00002*2*2001-05-30-00000001*03*A002*02", "0", "-500"},
                                   {"AA*00002*2*2001-05-30-00000001*03*A002*01", "-500", "0"}}));

    // A failure on the second line keeps nothing, not even the first line.
    failInsertsOfLine(c, QStringLiteral("03"));
    QVERIFY_THROWS_EXCEPTION(core::DbError, book.saveNewVoucher(kDate, 2, {paper, refund}));
    QCOMPARE(nativeCount(c, QStringLiteral("1 = 1")), 4);
    removeFaults(c);
    QCOMPARE(book.saveNewVoucher(kDate, 2, {paper}).serialJen,
             QStringLiteral("2001-05-30-00000002"));
}

ENTRY_TEST_MAIN(TestSave)
#include "test_save.moc"
