// Key filters, the base date and the amount fields of the entry window:
// typed characters only, Enter to the next tab stop, pastes and input method
// text checked on leaving, the date and length checks with their warnings,
// the display form, the moves to the save button, and no exit handler set
// off by another one.
#include "fielddesk.h"

#include "widgets/dbgrid.h"
#include "widgets/application.h"
#include "voucher/amountform.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace entrykit;

namespace {

const QString kRefused = QStringLiteral("잘못 입력하셨습니다");
const QString kTooLong = QStringLiteral("전체 길이가 12자를 초과 할 수 없읍니다.....");
const QString kTooLongNegative = QStringLiteral("전체 길이가 13자를 초과 할 수 없읍니다.....");
const QString kNoAccountCode = QStringLiteral("계정과목의 코드와 계정명을 등록 하세요.....");

QString badDate(const QString& text)
{
    return text + QStringLiteral(" : 유효하지 않은 날짜 형식입니다.");
}

QString blanks(int n)
{
    return QString(n, u' ');
}

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

// Replaces the field's text by typing, as the clerk would after selecting it.
void retype(QLineEdit* field, const QString& text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    typeText(field, text);
}

void compose(QWidget* field, const QString& preedit)
{
    QInputMethodEvent event(preedit, {});
    QApplication::sendEvent(field, &event);
}

void commit(QWidget* field, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(field, &event);
}

// A stored voucher of today with one or two lines.
void seedToday(store::Connection& c, double amount1, double amount2 = 0)
{
    QVector<voucherseed::Line> lines = {{QStringLiteral("01"), QStringLiteral("81201001000"), QStringLiteral("여비교통비"),
                                amount1, QStringLiteral("출장비")}};
    if (amount2 != 0)
        lines.append({QStringLiteral("02"), QStringLiteral("81301001000"), QStringLiteral("접대비"), amount2});
    voucherseed::insertVoucher(c, today(), 0, today() + QStringLiteral("-00000001"), lines);
}

} // namespace

class TestInputFilters : public QObject {
    Q_OBJECT
private slots:
    void dateAndAmountFieldsRefuseOtherCharacters();
    void nameAndTextFieldsTakeEveryCharacter();
    void enterMovesToTheNextTabStop();
    void pasteIsCheckedWhenTheFieldIsLeft();
    void composedHangulIsKeptInNamesAndRefusedInFigures();
    void leavingTheDateChecksItAndStartsOver();
    void leavingTheDateForTheGridAppliesNothing();
    void amountsTakeTheirDisplayForm();
    void amountLengthIsCheckedWithSeparators();
    void unreadableAmountIsReportedAndKept();
    void readOnlyAmountNeedsTheAccountCode();
    void lastLineClosesOnTheSaveButtonWhenItIsEnabled();
    void correctingAmountsTurnPlainAndLandOnSave();
    void longReadOnlyAmountDoesNotTrapTheClerk();
    void refusedExitStartsNoOtherExitNorClick();
};

void TestInputFilters::dateAndAmountFieldsRefuseOtherCharacters()
{
    FieldDesk desk;
    QLineEdit* date = desk.edit(QStringLiteral("edDate"));
    date->setFocus();
    QVERIFY(desk.show());
    QLineEdit* amount = desk.crAmt(1);
    QLineEdit* readOnly = desk.drAmt(1);

    ModalWatcher watcher;
    retype(date, QStringLiteral("2024-01-15"));
    QTest::keyClick(date, Qt::Key_Backspace);
    QTest::keyClick(date, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(date->text(), QStringLiteral("2024-01-1"));
    QCOMPARE(watcher.texts, QStringList());

    // Keys that type nothing pass untouched.
    QTest::keyClick(date, Qt::Key_Home);
    QTest::keyClick(date, Qt::Key_Delete);
    QTest::keyClick(date, Qt::Key_F2);
    QTest::keyClick(date, Qt::Key_Right);
    QCOMPARE(date->text(), QStringLiteral("024-01-1"));
    QCOMPARE(watcher.texts, QStringList());

    QGuiApplication::clipboard()->setText(QStringLiteral("9"));
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
    };
    const QVector<Key> refusedEverywhere = {
        {Qt::Key_A, {}}, {Qt::Key_Space, {}}, {Qt::Key_Slash, {}}, {Qt::Key_Comma, {}},
        {Qt::Key_Plus, {}}, {Qt::Key_Escape, {}}, {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_C, Qt::ControlModifier},
    };
    for (QLineEdit* field : {date, amount, readOnly}) {
        const QString before = field->text();
        for (const Key& k : refusedEverywhere)
            QTest::keyClick(field, k.key, k.mods);
        typeText(field, QStringLiteral("가"));
        QCOMPARE(field->text(), before);
        QCOMPARE(watcher.texts.size(), refusedEverywhere.size() + 1);
        QCOMPARE(watcher.texts, QStringList(watcher.texts.size(), kRefused));
        for (QMessageBox::Icon icon : watcher.icons)
            QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(watcher.titles.last(), QStringLiteral("출금 전표"));
        watcher.texts.clear();
        watcher.icons.clear();
    }

    // The point is for amounts only.
    QTest::keyClick(date, Qt::Key_Period);
    QCOMPARE(watcher.texts, QStringList{kRefused});
    typeText(amount, QStringLiteral("-12.5"));
    QCOMPARE(amount->text(), QStringLiteral("-12.5"));
    QCOMPARE(watcher.texts.size(), 1);
}

void TestInputFilters::nameAndTextFieldsTakeEveryCharacter()
{
    FieldDesk desk;
    QLineEdit* customer = desk.nameField(voucher::LookupKind::CustomerBank, 1);
    customer->setFocus();
    QVERIFY(desk.show());
    ModalWatcher watcher;
    for (QLineEdit* field : {customer, desk.edit(QStringLiteral("edAc_Text_01")), desk.nameField(voucher::LookupKind::Item, 1)}) {
        typeText(field, QStringLiteral("(주) 가나,a-1."));
        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(field->text(), QStringLiteral("(주) 가나,a-1."));
    }
    QCOMPARE(watcher.texts, QStringList());
    QCOMPARE(desk.shownDialogs(), 0);
}

void TestInputFilters::enterMovesToTheNextTabStop()
{
    FieldDesk desk([](store::Connection& c) { seedToday(c, 1000); });
    QLineEdit* date = desk.edit(QStringLiteral("edDate"));
    date->setFocus();
    QVERIFY(desk.show());
    ModalWatcher watcher;

    QTest::keyClick(date, Qt::Key_Return);
    QCOMPARE(desk.focus(), QStringLiteral("cbKubun"));
    QCOMPARE(date->text(), today());
    // Past the disabled voucher number and line number.
    QTest::keyClick(desk.control(QStringLiteral("cbKubun")), Qt::Key_Return);
    QCOMPARE(desk.focus(), QStringLiteral("edAc_JenName_01"));

    QLineEdit* text = desk.edit(QStringLiteral("edAc_Text_01"));
    text->setFocus(); // the account dialog opens for line 1 and takes the activation
    QVERIFY(desk.comeBack());
    typeText(text, QStringLiteral("교통비"));
    QTest::keyClick(text, Qt::Key_Enter); // the keypad's Enter too
    QCOMPARE(desk.focus(), QStringLiteral("edItem_Name01"));
    QCOMPARE(text->text(), QStringLiteral("교통비"));
    QTest::keyClick(desk.nameField(voucher::LookupKind::Item, 1), Qt::Key_Return);
    QCOMPARE(desk.focus(), QStringLiteral("edCr_Amt_01"));
    typeText(desk.crAmt(1), QStringLiteral("5"));
    QTest::keyClick(desk.crAmt(1), Qt::Key_Return);
    QCOMPARE(desk.focus(), QStringLiteral("edDr_Amt_01"));
    QCOMPARE(desk.crAmt(1)->text(), blanks(22) + u'5');
    QCOMPARE(watcher.texts, QStringList());

    // Correcting: the hidden and disabled panels are no tab stops, so Enter
    // in the read-only amount goes to the grid and lands on the save button.
    desk.window->writeLookupChoice(voucher::LookupKind::Account, 1, QStringLiteral("81201001000"), QStringLiteral("여비교통비"));
    clickGridRow(desk.window->findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1")), 0);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Correcting);
    desk.drAmt(1)->setFocus();
    QTest::keyClick(desk.drAmt(1), Qt::Key_Return);
    QCOMPARE(desk.focus(), QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList());
}

void TestInputFilters::pasteIsCheckedWhenTheFieldIsLeft()
{
    FieldDesk desk;
    QLineEdit* date = desk.edit(QStringLiteral("edDate"));
    date->setFocus();
    QVERIFY(desk.show());
    ModalWatcher watcher;

    // A paste is no typed character: it gets in, and leaving the field catches it.
    date->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("2024/01/15"));
    QTest::keyClick(date, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(date->text(), QStringLiteral("2024/01/15"));
    QCOMPARE(watcher.texts, QStringList());
    QTest::keyClick(date, Qt::Key_Tab);
    QCOMPARE(watcher.texts, QStringList{badDate(QStringLiteral("2024/01/15"))});
    QCOMPARE(desk.focus(), QStringLiteral("edDate"));

    // Letters pasted into an amount are no figure: refused, never read
    // from its digits, and the text stays for the clerk to mend.
    QVERIFY(desk.comeBack());
    retype(date, today());
    QLineEdit* amount = desk.crAmt(1);
    amount->setFocus();
    QCOMPARE(watcher.texts.size(), 1);
    desk.window->writeLookupChoice(voucher::LookupKind::Account, 1, QStringLiteral("81201001000"), QStringLiteral("여비교통비"));
    QGuiApplication::clipboard()->setText(QStringLiteral("12원 34"));
    QTest::keyClick(amount, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(amount->text(), QStringLiteral("12원 34"));
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(watcher.texts.last(), QStringLiteral("12원 34 : 금액은 숫자로만 입력할 수 있습니다."));
    QCOMPARE(amount->text(), QStringLiteral("12원 34"));
    QVERIFY(desk.comeBack());
    QCOMPARE(desk.focus(), QStringLiteral("edCr_Amt_01"));
    retype(amount, QStringLiteral("1234"));
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(amount->text(), blanks(17) + QStringLiteral("1,234"));

    // A pasted figure with separators is measured as it stands.
    QVERIFY(desk.comeBack());
    amount->setFocus();
    amount->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("123,456,789,012"));
    QTest::keyClick(amount, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(watcher.texts.last(), kTooLong);
    QCOMPARE(amount->text(), QStringLiteral("123,456,789,012"));
    QCOMPARE(desk.focus(), QStringLiteral("edCr_Amt_01"));
}

void TestInputFilters::composedHangulIsKeptInNamesAndRefusedInFigures()
{
    FieldDesk desk;
    QLineEdit* employee = desk.nameField(voucher::LookupKind::Employee, 1);
    employee->setFocus();
    QVERIFY(desk.show());
    DesktopBoxes watcher; // the window is active again after each box

    // What the input method commits into a figure is refused like a typed
    // character, a whole commit for one wrong character.
    QLineEdit* amount = desk.crAmt(1);
    QLineEdit* date = desk.edit(QStringLiteral("edDate"));
    const QString dateBefore = date->text();
    const QVector<std::pair<QLineEdit*, QString>> commits = {
        {date, QStringLiteral("한")}, {amount, QStringLiteral("한")}, {amount, QStringLiteral("1２")}};
    for (const auto& [field, text] : commits) {
        compose(field, QStringLiteral("ㅎ"));
        commit(field, text);
        QCOMPARE(watcher.texts, QStringList{kRefused});
        watcher.texts.clear();
    }
    QCOMPARE(date->text(), dateBefore);
    QCOMPARE(amount->text(), QString());
    commit(amount, QStringLiteral("12"));
    QCOMPARE(amount->text(), QStringLiteral("12"));
    QCOMPARE(watcher.texts, QStringList());

    // A syllable still being composed when the field is left is committed
    // before the exit handler reads the field.
    commit(employee, QStringLiteral("김"));
    compose(employee, QStringLiteral("처"));
    QCOMPARE(employee->text(), QStringLiteral("김"));
    QTest::keyClick(employee, Qt::Key_Tab);
    QCOMPARE(employee->text(), QStringLiteral("김처"));
    QCOMPARE(desk.focus(), QStringLiteral("edBuser_Name_01"));
    lookup::LookupFrame* form3 = desk.dialog(voucher::LookupKind::Employee);
    QVERIFY(form3->isVisible());
    QCOMPARE(form3->searchEdit()->text(), QStringLiteral("김처"));
    // The field that took the focus got nothing of it.
    QCOMPARE(desk.nameField(voucher::LookupKind::Department, 1)->text(), QString());

    // Leaving by a click keeps it too, and a commit that already came is not doubled.
    QVERIFY(desk.comeBack());
    QLineEdit* text = desk.edit(QStringLiteral("edAc_Text_01"));
    text->setFocus();
    compose(text, QStringLiteral("ㄱ"));
    compose(text, QStringLiteral("가"));
    QTest::mouseClick(desk.nameField(voucher::LookupKind::Item, 1), Qt::LeftButton);
    QCOMPARE(text->text(), QStringLiteral("가"));
    QLineEdit* item = desk.nameField(voucher::LookupKind::Item, 1);
    compose(item, QStringLiteral("사"));
    commit(item, QStringLiteral("사"));
    QTest::keyClick(item, Qt::Key_Backtab);
    QCOMPARE(item->text(), QStringLiteral("사"));
    QCOMPARE(watcher.texts, QStringList());

    // Nor does a syllable still composed in an amount slip in when it is left.
    QVERIFY(desk.comeBack());
    desk.window->writeLookupChoice(voucher::LookupKind::Account, 1, QStringLiteral("81201001000"), QStringLiteral("여비교통비"));
    amount->setFocus();
    compose(amount, QStringLiteral("한"));
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(watcher.texts, QStringList{kRefused});
    QCOMPARE(amount->text(), voucher::amountDisplayForm(12));
}

void TestInputFilters::leavingTheDateChecksItAndStartsOver()
{
    FieldDesk desk([](store::Connection& c) {
        voucherseed::insertVoucher(c, QStringLiteral("2024-03-15"), 0, QStringLiteral("2024-03-15-00000001"),
                    {{QStringLiteral("01"), QStringLiteral("81201001000"), QStringLiteral("여비교통비"), 5000}});
    });
    QLineEdit* date = desk.edit(QStringLiteral("edDate"));
    date->setFocus();
    QVERIFY(desk.show());
    auto* grid = desk.window->findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    QLineEdit* text = desk.edit(QStringLiteral("edAc_Text_01"));
    QCOMPARE(grid->model()->rowCount(), 0);
    DesktopBoxes watcher; // the window is active again after each box

    struct Case {
        QString typed;
        int warnings;
        int listed;
    };
    const QVector<Case> cases = {
        {QStringLiteral("2024-03-15"), 0, 1},
        {QString(), 2, 1},                   // neither a date nor 10 characters (lists the branch's all)
        {QStringLiteral("2024-02-30"), 1, 0}, // no such day
        {QStringLiteral("2024-3-15"), 1, 0},  // a date, but not written in full
        {QStringLiteral("2024-13-01"), 1, 0},
    };
    for (const Case& c : cases) {
        QVERIFY(desk.comeBack());
        date->setFocus();
        text->setText(QStringLiteral("적요"));
        retype(date, c.typed);
        watcher.texts.clear();
        QTest::keyClick(date, Qt::Key_Tab);
        const QString typed = date->text();
        QCOMPARE(watcher.texts, QStringList(c.warnings, badDate(typed)));
        for (QMessageBox::Icon icon : watcher.icons)
            QCOMPARE(icon, QMessageBox::Warning);
        watcher.icons.clear();
        QCOMPARE(desk.focus(), c.warnings ? QStringLiteral("edDate") : QStringLiteral("cbKubun"));
        // In every case the list follows the date and the panels start over.
        QCOMPARE(grid->model()->rowCount(), c.listed);
        QCOMPARE(text->text(), QString());
        QCOMPARE(desk.window->mode(), voucher::VoucherMode::Idle);
    }
}

void TestInputFilters::leavingTheDateForTheGridAppliesNothing()
{
    FieldDesk desk([](store::Connection& c) { seedToday(c, 1000); });
    QLineEdit* date = desk.edit(QStringLiteral("edDate"));
    date->setFocus();
    QVERIFY(desk.show());
    auto* grid = desk.window->findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    QCOMPARE(grid->model()->rowCount(), 1);
    ModalWatcher watcher;

    retype(date, QStringLiteral("2024-02-30"));
    grid->setFocus(Qt::TabFocusReason);
    QCOMPARE(watcher.texts, QStringList());
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::New);
    QCOMPARE(grid->model()->rowCount(), 1);
    QCOMPARE(gridText(grid, 0, 1), today());
    // The buttons keep the idle states until the next refresh.
    QVERIFY(desk.button(QStringLiteral("InsertBtn"))->isEnabled());
    QVERIFY(!desk.button(QStringLiteral("SaveBtn"))->isEnabled());
}

void TestInputFilters::amountsTakeTheirDisplayForm()
{
    FieldDesk desk;
    QLineEdit* amount = desk.crAmt(1);
    amount->setFocus();
    QVERIFY(desk.show());
    desk.window->writeLookupChoice(voucher::LookupKind::Account, 1, QStringLiteral("81201001000"), QStringLiteral("여비교통비"));
    ModalWatcher watcher;

    const QVector<std::pair<QString, QString>> cases = {
        {QString(), blanks(22) + u'0'},
        {QStringLiteral("1234567"), blanks(11) + QStringLiteral("1,234,567")},
        {QStringLiteral("-5"), blanks(21) + QStringLiteral("-5")},
        {QStringLiteral("1234.5"), blanks(13) + QStringLiteral("1,235")},
        {QStringLiteral("-0"), blanks(22) + u'0'},
        {QStringLiteral("123456789012"), blanks(2) + QStringLiteral("123,456,789,012")},
        {QStringLiteral("-123456789012"), QStringLiteral("-123,456,789,012")},
    };
    for (const auto& [typed, shown] : cases) {
        amount->setFocus();
        retype(amount, typed);
        QTest::keyClick(amount, Qt::Key_Tab);
        QCOMPARE(amount->text(), shown);
        QCOMPARE(desk.focus(), QStringLiteral("edDr_Amt_01"));
    }
    // 1234.5 was rounded: from then on the field holds the whole figure.
    amount->setFocus();
    retype(amount, QStringLiteral("1234.5"));
    QTest::keyClick(amount, Qt::Key_Tab);
    amount->setFocus();
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(amount->text(), blanks(17) + QStringLiteral("1,235"));
    // The read-only amount of the line was put in display form on each exit.
    QCOMPARE(desk.drAmt(1)->text(), blanks(22) + u'0');
    QCOMPARE(watcher.texts, QStringList());
}

void TestInputFilters::amountLengthIsCheckedWithSeparators()
{
    FieldDesk desk;
    QLineEdit* amount = desk.crAmt(2);
    amount->setFocus();
    QVERIFY(desk.show());
    desk.window->writeLookupChoice(voucher::LookupKind::Account, 2, QStringLiteral("81201001000"), QStringLiteral("여비교통비"));
    DesktopBoxes watcher; // the window is active again after each box

    retype(amount, QStringLiteral("1234567890123"));
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(watcher.texts, QStringList{kTooLong});
    QCOMPARE(watcher.icons.last(), QMessageBox::Warning);
    QCOMPARE(amount->text(), QStringLiteral("1234567890123"));
    QCOMPARE(desk.focus(), QStringLiteral("edCr_Amt_02"));

    QVERIFY(desk.comeBack());
    retype(amount, QStringLiteral("-1234567890123"));
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(watcher.texts.last(), kTooLongNegative);
    QCOMPARE(watcher.texts.size(), 2);
    QCOMPARE(amount->text(), QStringLiteral("-1234567890123"));
    QCOMPARE(desk.focus(), QStringLiteral("edCr_Amt_02"));

    // Ten digits typed plainly pass; shown with separators they are 13
    // characters, so leaving the field again without retyping is refused.
    QVERIFY(desk.comeBack());
    retype(amount, QStringLiteral("1234567890"));
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(watcher.texts.size(), 2);
    QCOMPARE(amount->text(), blanks(5) + QStringLiteral("1,234,567,890"));
    amount->setFocus();
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(watcher.texts.size(), 3);
    QCOMPARE(watcher.texts.last(), kTooLong);
    QCOMPARE(amount->text(), blanks(5) + QStringLiteral("1,234,567,890"));
    QCOMPARE(desk.focus(), QStringLiteral("edCr_Amt_02"));
    // Outside a correction a click changes nothing.
    QVERIFY(desk.comeBack());
    QTest::mouseClick(amount, Qt::LeftButton);
    QCOMPARE(amount->text(), blanks(5) + QStringLiteral("1,234,567,890"));
}

void TestInputFilters::unreadableAmountIsReportedAndKept()
{
    FieldDesk desk;
    QLineEdit* amount = desk.crAmt(1);
    amount->setFocus();
    QVERIFY(desk.show());
    ModalWatcher watcher;
    typeText(amount, QStringLiteral("1-2"));
    QTest::keyClick(amount, Qt::Key_Tab);
    QTRY_COMPARE(watcher.texts.size(), 1);
    QCOMPARE(watcher.icons.first(), QMessageBox::Critical);
    QVERIFY2(watcher.texts.first().contains(QLatin1String("1-2")), qPrintable(watcher.texts.first()));
    QCOMPARE(amount->text(), QStringLiteral("1-2"));
    QCOMPARE(desk.focus(), QStringLiteral("edDr_Amt_01"));
}

void TestInputFilters::readOnlyAmountNeedsTheAccountCode()
{
    FieldDesk desk;
    QLineEdit* account = desk.nameField(voucher::LookupKind::Account, 3);
    QLineEdit* readOnly = desk.drAmt(3);
    readOnly->setFocus();
    QVERIFY(desk.show());
    account->setText(QStringLiteral("여비")); // typed, no code chosen
    DesktopBoxes watcher; // the window is active again after each box

    QTest::keyClick(readOnly, Qt::Key_Tab);
    QCOMPARE(watcher.texts, QStringList{kNoAccountCode});
    QCOMPARE(watcher.icons.first(), QMessageBox::Warning);
    QCOMPARE(desk.focus(), QStringLiteral("edAc_JenName_03"));
    QCOMPARE(account->selectedText(), QStringLiteral("여비"));
    QCOMPARE(readOnly->text(), blanks(22) + u'0');
    QVERIFY(!QGuiApplication::overrideCursor());
    // The account exit for the line-4 account field did not run.
    QCOMPARE(desk.shownDialogs(), 0);

    // With a code the line closes quietly.
    QVERIFY(desk.comeBack());
    readOnly->setFocus(); // leaving the account field shows its dialog; the clerk chooses
    QVERIFY(desk.comeBack());
    desk.window->writeLookupChoice(voucher::LookupKind::Account, 3, QStringLiteral("81201001000"), QStringLiteral("여비교통비"));
    QTest::keyClick(readOnly, Qt::Key_Tab);
    QCOMPARE(watcher.texts.size(), 1);
    QCOMPARE(desk.focus(), QStringLiteral("edAc_JenName_04"));
}

void TestInputFilters::lastLineClosesOnTheSaveButtonWhenItIsEnabled()
{
    FieldDesk desk;
    QLineEdit* readOnly = desk.drAmt(5);
    readOnly->setFocus();
    QVERIFY(desk.show());
    desk.window->writeLookupChoice(voucher::LookupKind::Account, 5, QStringLiteral("81201001000"), QStringLiteral("여비교통비"));
    ModalWatcher watcher;

    // A choice in an idle window starts a voucher: Save is enabled.
    QTest::keyClick(readOnly, Qt::Key_Tab);
    QCOMPARE(desk.focus(), QStringLiteral("SaveBtn"));
    QCOMPARE(watcher.texts, QStringList());

    // A new voucher: the account field left for the customer field starts it.
    QLineEdit* account = desk.nameField(voucher::LookupKind::Account, 5);
    account->setFocus();
    QTest::keyClick(account, Qt::Key_Tab);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::New);
    QVERIFY(desk.comeBack());
    desk.window->writeLookupChoice(voucher::LookupKind::Account, 5, QStringLiteral("81201001000"), QStringLiteral("여비교통비"));
    readOnly->setFocus();
    QTest::keyClick(readOnly, Qt::Key_Tab);
    QCOMPARE(desk.focus(), QStringLiteral("SaveBtn"));
    // Also when the clerk leaves it by a click elsewhere.
    readOnly->setFocus();
    QTest::mouseClick(desk.edit(QStringLiteral("edAc_Text_05")), Qt::LeftButton);
    QCOMPARE(desk.focus(), QStringLiteral("SaveBtn"));
    // The amount field clicked never really had the focus: its own exit
    // (which would show an empty amount as 0) does not run.
    readOnly->setFocus();
    QTest::mouseClick(desk.crAmt(1), Qt::LeftButton);
    QCOMPARE(desk.focus(), QStringLiteral("SaveBtn"));
    QCOMPARE(desk.crAmt(1)->text(), QString());
    QCOMPARE(watcher.texts, QStringList());
}

void TestInputFilters::correctingAmountsTurnPlainAndLandOnSave()
{
    FieldDesk desk([](store::Connection& c) { seedToday(c, 1234567890, 1500); });
    QVERIFY(desk.show());
    auto* grid = desk.window->findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    const int row = gridRowOf(grid, today() + QStringLiteral("-00000001"), QStringLiteral("01"));
    clickGridRow(grid, row);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Correcting);
    QLineEdit* amount = desk.crAmt(1);
    QLineEdit* readOnly = desk.drAmt(1);
    QCOMPARE(amount->text(), blanks(5) + QStringLiteral("1,234,567,890"));
    ModalWatcher watcher;

    // A click turns the loaded amount into plain form, ready to be overtyped.
    QTest::mouseClick(amount, Qt::LeftButton);
    QCOMPARE(amount->text(), QStringLiteral("1234567890"));
    QCOMPARE(amount->selectedText(), amount->text());
    // Again on a second click into the selection.
    QTest::mouseClick(amount, Qt::LeftButton);
    QCOMPARE(amount->selectedText(), QStringLiteral("1234567890"));

    // On to the read-only amount: it shows its plain form, selected.
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(amount->text(), blanks(5) + QStringLiteral("1,234,567,890"));
    QCOMPARE(desk.focus(), QStringLiteral("edDr_Amt_01"));
    QCOMPARE(readOnly->text(), QStringLiteral("0"));
    QCOMPARE(readOnly->selectedText(), QStringLiteral("0"));
    QTest::keyClick(readOnly, Qt::Key_Tab);
    QCOMPARE(desk.focus(), QStringLiteral("SaveBtn"));
    QCOMPARE(readOnly->text(), blanks(22) + u'0');

    // Overtyping, then a click on the grid: the focus lands on the save
    // button, and the click chooses no row (the typed amount stays).
    QTest::mouseClick(amount, Qt::LeftButton);
    typeText(amount, QStringLiteral("2500"));
    clickGridRow(grid, row);
    QCOMPARE(desk.focus(), QStringLiteral("SaveBtn"));
    QCOMPARE(amount->text(), blanks(17) + QStringLiteral("2,500"));
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Correcting);
    QCOMPARE(watcher.texts, QStringList());
    // The next click on the grid is an ordinary one again.
    clickGridRow(grid, row);
    QCOMPARE(amount->text(), blanks(5) + QStringLiteral("1,234,567,890"));
}

void TestInputFilters::longReadOnlyAmountDoesNotTrapTheClerk()
{
    FieldDesk desk([](store::Connection& c) { seedToday(c, 1000); });
    QVERIFY(desk.show());
    clickGridRow(desk.window->findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1")), 0);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Correcting);
    QLineEdit* readOnly = desk.drAmt(1);
    QLineEdit* text = desk.edit(QStringLiteral("edAc_Text_01"));
    ModalWatcher watcher;

    // Ten digits in display form are 13 characters: counted without the
    // separators they pass.
    readOnly->setText(voucher::amountDisplayForm(1234567890));
    readOnly->setFocus();
    QTest::mouseClick(text, Qt::LeftButton);
    QCOMPARE(watcher.texts, QStringList());
    QCOMPARE(desk.focus(), QStringLiteral("edAc_Text_01"));
    QCOMPARE(readOnly->text(), blanks(5) + QStringLiteral("1,234,567,890"));

    // Thirteen digits are too long even so: the clerk is told, but the
    // field the clerk cannot change does not hold the focus.
    readOnly->setText(voucher::amountDisplayForm(1234567890123.0));
    readOnly->setFocus();
    QTest::mouseClick(text, Qt::LeftButton);
    QCOMPARE(watcher.texts, QStringList{kTooLong});
    QCOMPARE(desk.focus(), QStringLiteral("edAc_Text_01"));
}

void TestInputFilters::refusedExitStartsNoOtherExitNorClick()
{
    FieldDesk desk;
    QLineEdit* amount = desk.crAmt(1);
    amount->setFocus();
    QVERIFY(desk.show());
    DesktopBoxes watcher; // the window is active again after each box

    // Refused on the way to the read-only amount: that field never had the
    // focus, so its exit (which would ask for the account code) does not run.
    typeText(amount, QStringLiteral("1234567890123"));
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(watcher.texts, QStringList{kTooLong});
    QCOMPARE(desk.focus(), QStringLiteral("edCr_Amt_01"));

    // Refused on the way to a button: the button is not clicked.
    QVERIFY(desk.comeBack());
    QSignalSpy closes(desk.button(QStringLiteral("CloseBtn")), &QPushButton::clicked);
    QTest::mouseClick(desk.button(QStringLiteral("CloseBtn")), Qt::LeftButton);
    QCOMPARE(watcher.texts, (QStringList{kTooLong, kTooLong}));
    QCOMPARE(closes.count(), 0);
    QCOMPARE(desk.focus(), QStringLiteral("edCr_Amt_01"));

    // A date refused on the way to the button: no click either.
    QVERIFY(desk.comeBack());
    retype(amount, QStringLiteral("7"));
    QLineEdit* date = desk.edit(QStringLiteral("edDate"));
    date->setFocus();
    retype(date, QStringLiteral("2024-02-30"));
    QTest::mouseClick(desk.button(QStringLiteral("CloseBtn")), Qt::LeftButton);
    QCOMPARE(watcher.texts.last(), badDate(QStringLiteral("2024-02-30")));
    QCOMPARE(closes.count(), 0);
    QCOMPARE(desk.focus(), QStringLiteral("edDate"));

    // Once accepted, the same button clicks, after the clerk agreed (Enter)
    // to let the typed amount go with the panels.
    QVERIFY(desk.comeBack());
    retype(date, today());
    const int boxes = watcher.texts.size();
    QTest::mouseClick(desk.button(QStringLiteral("CloseBtn")), Qt::LeftButton);
    QCOMPARE(watcher.texts.size(), boxes + 1);
    QCOMPARE(watcher.icons.last(), QMessageBox::Question);
    QCOMPARE(closes.count(), 1);
}

ENTRY_TEST_MAIN(TestInputFilters)
#include "test_inputfilters.moc"
