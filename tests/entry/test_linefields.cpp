// The name fields of the line panels: leaving one hands its text to the
// lookup dialog of its kind and line; stay-put targets change nothing; the
// account field starts a voucher; the dialogs take the activation and the
// clerk comes back by clicking; accelerators click without leaving.
#include "fielddesk.h"

#include "widgets/application.h"
#include "store/statement.h"
#include "testdb.h"
#include "widgets/branchcombo.h"
#include "widgets/dbgrid.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

using namespace entrykit;

namespace {

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

widgets::DbGrid* dialogGrid(lookup::LookupFrame* dialog)
{
    return dialog->findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
}

QString chosenCode(lookup::LookupFrame* dialog)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("edAc_code2"))->text();
}

QString chosenName(lookup::LookupFrame* dialog)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("edAc_Name2"))->text();
}

// Every account the account dialog admits: its own statement with an empty search.
int admittedAccounts()
{
    store::SqlStatement all;
    all.setLines(voucher::accountStatement());
    all.bindText(QStringLiteral("tbac_name"), QStringLiteral("%%"));
    all.open();
    return all.rowCount();
}

// A stored voucher of today, line 1 with a project and a department.
void seedProjectVoucher(store::Connection& c)
{
    voucherseed::Line line(QStringLiteral("01"), QStringLiteral("81201001000"), QStringLiteral("여비교통비"), 150000,
                  QStringLiteral("출장비"));
    line.projectCode = QStringLiteral("P2001-03");
    line.projectName = QStringLiteral("ERP 시스템 구축");
    line.buserCode = QStringLiteral("110");
    line.buserName = QStringLiteral("회계팀");
    voucherseed::insertVoucher(c, today(), 0, today() + QStringLiteral("-00000001"), {line});
}

// The stored debit row's project code and description.
QStringList storedProjectAndText(store::Connection& c)
{
    QSqlQuery q(c.database());
    q.exec(QStringLiteral("select Project_Code, Ac_Text from account_jen_AA where Serial_CrDr = '01'"));
    if (!q.next())
        return {};
    return {q.value(0).toString().trimmed(), q.value(1).toString().trimmed()};
}

} // namespace

class TestLineFields : public QObject {
    Q_OBJECT
private slots:
    void enterInADepartmentFieldOpensItsDialog_data();
    void enterInADepartmentFieldOpensItsDialog();
    void emptyNamesShowNoDialogButTheDialogFollowsTheLine();
    void searchTextGoesOverWithItsBlanksAndResetsTheFilter();
    void emptyAccountToCustomerListsEveryAccountAndStartsAVoucher();
    void missingBranchAndShortDateWarnInTurn();
    void missingBranchAloneLeavesTheFocusOnTheBranch();
    void accountToAnotherLineMakesNoChecks();
    void stayPutTargetsKeepTheChoiceOthersReopenTheDialog();
    void dialogTakesTheActivationAndTheClerkClicksBack();
    void reopenedDialogWritesToItsNewLine();
    void acceleratorsClickWithoutLeavingTheField();
    void engineErrorInTheSearchLeavesTheCodeEmpty();
};

void TestLineFields::enterInADepartmentFieldOpensItsDialog_data()
{
    addEngines();
}

void TestLineFields::enterInADepartmentFieldOpensItsDialog()
{
    FETCH_ENGINE();
    FieldDesk desk(engine);
    QLineEdit* department = desk.nameField(voucher::LookupKind::Department, 1);
    department->setFocus();
    QVERIFY(desk.show());
    lookup::LookupFrame* form4 = desk.dialog(voucher::LookupKind::Department);

    typeText(department, QStringLiteral("회계팀"));
    QTest::keyClick(department, Qt::Key_Return);
    QCOMPARE(desk.focus(), QStringLiteral("edProject_Name_01"));
    QCOMPARE(department->text(), QStringLiteral("회계팀")); // Enter typed nothing
    QVERIFY(form4->isVisible());
    QCOMPARE(desk.shownDialogs(), 1);
    QCOMPARE(form4->searchEdit()->text(), QStringLiteral("회계팀"));
    QCOMPARE(form4->targetLine(), 1);
    QCOMPARE(chosenCode(form4), QString());
    QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Department), QString());
    QCOMPARE(form4->query()->rowCount(), 1);

    // A click in the dialog's grid chooses the row for line 1; the dialog
    // shows what the line got.
    clickGridRow(dialogGrid(form4), 0, 1);
    QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Department), QStringLiteral("110"));
    QCOMPARE(department->text(), QStringLiteral("회계팀"));
    QCOMPARE(chosenCode(form4), QStringLiteral("110"));
    QCOMPARE(chosenName(form4), department->text());

    // Leaving the chosen field again, even without a change, empties the code
    // and asks again.
    form4->hide();
    QVERIFY(desk.comeBack());
    department->setFocus();
    QTest::keyClick(department, Qt::Key_Return);
    QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Department), QString());
    QVERIFY(form4->isVisible());
    QCOMPARE(chosenCode(form4), QString());
}

void TestLineFields::emptyNamesShowNoDialogButTheDialogFollowsTheLine()
{
    FieldDesk desk;
    QLineEdit* employee1 = desk.nameField(voucher::LookupKind::Employee, 1);
    employee1->setFocus();
    QVERIFY(desk.show());
    lookup::LookupFrame* form3 = desk.dialog(voucher::LookupKind::Employee);

    QTest::keyClick(employee1, Qt::Key_Tab);
    QCOMPARE(desk.focus(), QStringLiteral("edBuser_Name_01"));
    QCOMPARE(desk.shownDialogs(), 0);
    QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Employee), QString());

    // Blanks only count as empty, yet the dialog now serves line 2 with the
    // blanks as its search text.
    QLineEdit* employee2 = desk.nameField(voucher::LookupKind::Employee, 2);
    employee2->setFocus();
    typeText(employee2, QStringLiteral("   "));
    QTest::keyClick(employee2, Qt::Key_Tab);
    QCOMPARE(desk.shownDialogs(), 0);
    QCOMPARE(form3->targetLine(), 2);
    QCOMPARE(form3->searchEdit()->text(), QStringLiteral("   "));
    QCOMPARE(employee2->text(), QStringLiteral("   "));
}

void TestLineFields::searchTextGoesOverWithItsBlanksAndResetsTheFilter()
{
    FieldDesk desk;
    QLineEdit* customer = desk.nameField(voucher::LookupKind::CustomerBank, 3);
    customer->setFocus();
    QVERIFY(desk.show());
    lookup::LookupFrame* form2 = desk.dialog(voucher::LookupKind::CustomerBank);
    auto* filter = form2->findChild<QComboBox*>(QStringLiteral("cbCheck"));
    filter->setCurrentIndex(2);

    typeText(customer, QStringLiteral(" 국민 은행 "));
    QTest::keyClick(customer, Qt::Key_Tab);
    QVERIFY(form2->isVisible());
    QCOMPARE(form2->searchEdit()->text(), QStringLiteral(" 국민 은행 "));
    QCOMPARE(form2->targetLine(), 3);
    QCOMPARE(filter->currentIndex(), 0);
    // The search leaves the blanks out.
    QVERIFY(form2->query()->rowCount() >= 1);
    QVERIFY2(form2->query()->asText(QStringLiteral("Tot_Name")).contains(QStringLiteral("국민은행")),
             qPrintable(form2->query()->asText(QStringLiteral("Tot_Name"))));
}

void TestLineFields::emptyAccountToCustomerListsEveryAccountAndStartsAVoucher()
{
    FieldDesk desk;
    QLineEdit* account = desk.nameField(voucher::LookupKind::Account, 1);
    account->setFocus();
    QVERIFY(desk.show());
    lookup::LookupFrame* form1 = desk.dialog(voucher::LookupKind::Account);
    // The dialog still shows an earlier, narrower search.
    form1->prepareFor(4, QStringLiteral("여비"));
    form1->runSearch();
    const int narrowed = form1->query()->rowCount();
    const int admitted = admittedAccounts();
    QVERIFY(narrowed < admitted);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Idle);

    ModalWatcher watcher;
    QTest::keyClick(account, Qt::Key_Tab);
    QCOMPARE(watcher.texts, QStringList());
    QCOMPARE(desk.focus(), QStringLiteral("edKubun_Name_01"));
    QVERIFY(form1->isVisible());
    QCOMPARE(form1->targetLine(), 1);
    QCOMPARE(form1->query()->rowCount(), admitted);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::New);
    QVERIFY(!desk.button(QStringLiteral("InsertBtn"))->isEnabled());
    QVERIFY(desk.button(QStringLiteral("SaveBtn"))->isEnabled());
    QVERIFY(desk.button(QStringLiteral("CancelBtn"))->isEnabled());
    QVERIFY(!desk.button(QStringLiteral("DeleteBtn"))->isEnabled());
}

void TestLineFields::missingBranchAndShortDateWarnInTurn()
{
    FieldDesk desk([](store::Connection& c) { seedProjectVoucher(c); });
    QLineEdit* account = desk.nameField(voucher::LookupKind::Account, 1);
    account->setFocus();
    QVERIFY(desk.show());
    auto* branch = qobject_cast<widgets::BranchCombo*>(desk.control(QStringLiteral("cbKubun")));
    branch->setEditText(QStringLiteral("없는지점"));
    desk.edit(QStringLiteral("edDate"))->setText(QStringLiteral("2024-1-5"));
    const int listed = desk.window->voucherList().rowCount();
    desk.edit(QStringLiteral("edAc_Text_01"))->setText(QStringLiteral("출장 경비"));
    typeText(account, QStringLiteral("여비"));

    DesktopBoxes watcher; // the window is active again after each box
    QTest::keyClick(account, Qt::Key_Tab);
    QCOMPARE(watcher.texts, (QStringList{QStringLiteral("본지점 구분을 선택하세요."),
                                         QStringLiteral("기준일자를 선택하세요.")}));
    QCOMPARE(watcher.icons, (QVector<QMessageBox::Icon>{QMessageBox::Warning, QMessageBox::Warning}));
    QCOMPARE(desk.focus(), QStringLiteral("edDate"));
    QCOMPARE(desk.shownDialogs(), 0);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::New);
    QVERIFY(desk.button(QStringLiteral("SaveBtn"))->isEnabled());
    // The branch selector had the focus on the way but was never left: its
    // exit (a reload that clears the panels) and its enter (the list) did not run.
    QVERIFY(!branch->listIsOpen());
    QCOMPARE(desk.edit(QStringLiteral("edAc_Text_01"))->text(), QStringLiteral("출장 경비"));
    QCOMPARE(account->text(), QStringLiteral("여비"));
    QCOMPARE(desk.window->voucherList().rowCount(), listed);
    QCOMPARE(branch->currentText(), QStringLiteral("없는지점"));

    // Correcting a stored voucher stays a correction.
    desk.edit(QStringLiteral("edDate"))->setText(today());
    branch->setCurrentIndex(0);
    QVERIFY(desk.comeBack());
    clickGridRow(desk.window->findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1")), 0);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Correcting);
    account->setFocus();
    branch->setEditText(QString());
    QTest::keyClick(account, Qt::Key_Tab);
    QCOMPARE(watcher.texts.size(), 3);
    QCOMPARE(watcher.texts.last(), QStringLiteral("본지점 구분을 선택하세요."));
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Correcting);
    QVERIFY(desk.button(QStringLiteral("DeleteBtn"))->isEnabled());
}

void TestLineFields::missingBranchAloneLeavesTheFocusOnTheBranch()
{
    FieldDesk desk;
    QLineEdit* account = desk.nameField(voucher::LookupKind::Account, 2);
    account->setFocus();
    QVERIFY(desk.show());
    auto* branch = qobject_cast<widgets::BranchCombo*>(desk.control(QStringLiteral("cbKubun")));
    branch->setEditText(QString());

    DesktopBoxes watcher; // the window is active again after each box
    QTest::keyClick(account, Qt::Key_Tab);
    QCOMPARE(watcher.texts, QStringList{QStringLiteral("본지점 구분을 선택하세요.")});
    QCOMPARE(desk.focus(), QStringLiteral("cbKubun"));
    QCOMPARE(desk.shownDialogs(), 0);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::New);
    // The branch selector is entered: its list drops down for the choice.
    QVERIFY(branch->listIsOpen());
}

void TestLineFields::accountToAnotherLineMakesNoChecks()
{
    FieldDesk desk;
    QLineEdit* account2 = desk.nameField(voucher::LookupKind::Account, 2);
    account2->setFocus();
    QVERIFY(desk.show());
    desk.edit(QStringLiteral("edDate"))->setText(QStringLiteral("20240105"));
    typeText(account2, QStringLiteral("복리"));

    ModalWatcher watcher;
    QTest::mouseClick(desk.nameField(voucher::LookupKind::CustomerBank, 3), Qt::LeftButton);
    QCOMPARE(watcher.texts, QStringList());
    QCOMPARE(desk.focus(), QStringLiteral("edKubun_Name_03"));
    lookup::LookupFrame* form1 = desk.dialog(voucher::LookupKind::Account);
    QVERIFY(form1->isVisible());
    QCOMPARE(form1->targetLine(), 2);
    QCOMPARE(form1->searchEdit()->text(), QStringLiteral("복리"));
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::New); // started by the typing, not by the move
}

void TestLineFields::stayPutTargetsKeepTheChoiceOthersReopenTheDialog()
{
    FieldDesk desk([](store::Connection& c) { seedProjectVoucher(c); });
    QVERIFY(desk.show());
    auto* grid = desk.window->findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    clickGridRow(grid, 0);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Correcting);
    QLineEdit* project = desk.nameField(voucher::LookupKind::Project, 1);
    QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Project), QStringLiteral("P2001-03"));
    QCOMPARE(desk.window->voucherList().rowCount(), 1);
    lookup::LookupFrame* form5 = desk.dialog(voucher::LookupKind::Project);
    QLineEdit* text = desk.edit(QStringLiteral("edAc_Text_01"));
    text->setFocus();
    typeText(text, QStringLiteral(" 정산"));

    // Stay-put targets: nothing changes. (Leaving the date or the branch
    // starts over, so the date comes last.)
    ModalWatcher watcher;
    for (const char* name : {"DBGrid1", "SaveBtn", "edDate"}) {
        QVERIFY(desk.comeBack());
        project->setFocus();
        QWidget* target = desk.control(QLatin1String(name));
        if (QLatin1String(name) == QLatin1String("DBGrid1"))
            target->setFocus(Qt::TabFocusReason); // a click would choose a row again
        else
            QTest::mouseClick(target, Qt::LeftButton);
        QVERIFY2(!form5->isVisible(), name);
        QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Project), QStringLiteral("P2001-03"));
        QCOMPARE(project->text(), QStringLiteral("ERP 시스템 구축"));
    }
    // The click on Save went through: the correction passed the code checks
    // and was stored with the project's code.
    QCOMPARE(watcher.texts, QStringList());
    QCOMPARE(storedProjectAndText(desk.account.connection()),
             (QStringList{QStringLiteral("P2001-03"), QStringLiteral("출장비 정산")}));
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Correcting);

    // Cancel is no stay-put target: the code goes, the dialog asks again,
    // and the click still cancels.
    QVERIFY(desk.comeBack());
    clickGridRow(grid, 0); // from the date into the grid: the voucher again
    QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Project), QStringLiteral("P2001-03"));
    project->setFocus();
    QSignalSpy cancels(desk.button(QStringLiteral("CancelBtn")), &QPushButton::clicked);
    QTest::mouseClick(desk.button(QStringLiteral("CancelBtn")), Qt::LeftButton);
    QVERIFY(form5->isVisible());
    QCOMPARE(form5->searchEdit()->text(), QStringLiteral("ERP 시스템 구축"));
    QCOMPARE(form5->targetLine(), 1);
    QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Project), QString());
    QCOMPARE(cancels.count(), 1);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Idle);
}

void TestLineFields::dialogTakesTheActivationAndTheClerkClicksBack()
{
    FieldDesk desk;
    QLineEdit* employee = desk.nameField(voucher::LookupKind::Employee, 1);
    QLineEdit* department = desk.nameField(voucher::LookupKind::Department, 1);
    employee->setFocus();
    QVERIFY(desk.show());
    lookup::LookupFrame* form3 = desk.dialog(voucher::LookupKind::Employee);
    lookup::LookupFrame* form4 = desk.dialog(voucher::LookupKind::Department);

    typeText(employee, QStringLiteral("김"));
    QTest::keyClick(employee, Qt::Key_Tab);
    QVERIFY(form3->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(form3));
    // The entry window keeps its focus target.
    QCOMPARE(desk.focus(), QStringLiteral("edBuser_Name_01"));

    clickGridRow(dialogGrid(form3), 0, 1);
    const QString chosen = desk.window->line(1).code(voucher::LookupKind::Employee);
    QVERIFY(!chosen.isEmpty());
    QCOMPARE(employee->text(), chosenName(form3));

    // Back in the entry window on the same field: nothing is left.
    QVERIFY(desk.comeBack());
    QCOMPARE(QApplication::focusWidget(), department);
    QVERIFY(!form4->isVisible());
    QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Employee), chosen);

    // Back by a click on another field: the field that stood focused is left.
    form3->hide();
    typeText(department, QStringLiteral("영업"));
    QTest::mouseClick(desk.edit(QStringLiteral("edAc_Text_01")), Qt::LeftButton);
    QCOMPARE(desk.focus(), QStringLiteral("edAc_Text_01"));
    QVERIFY(form4->isVisible());
    QCOMPARE(form4->searchEdit()->text(), QStringLiteral("영업"));
    QCOMPARE(form4->query()->rowCount(), 3);
    QVERIFY(!form3->isVisible());
    QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Employee), chosen);
}

void TestLineFields::reopenedDialogWritesToItsNewLine()
{
    FieldDesk desk;
    QLineEdit* dept1 = desk.nameField(voucher::LookupKind::Department, 1);
    QLineEdit* dept2 = desk.nameField(voucher::LookupKind::Department, 2);
    dept1->setFocus();
    QVERIFY(desk.show());
    lookup::LookupFrame* form4 = desk.dialog(voucher::LookupKind::Department);

    typeText(dept1, QStringLiteral("팀"));
    QTest::keyClick(dept1, Qt::Key_Return);
    QVERIFY(form4->isVisible());
    QCOMPARE(form4->targetLine(), 1);

    // The dialog stays open while the clerk goes on to line 2.
    QVERIFY(desk.comeBack());
    dept2->setFocus();
    typeText(dept2, QStringLiteral("품질"));
    QTest::keyClick(dept2, Qt::Key_Return);
    QCOMPARE(form4->targetLine(), 2);
    clickGridRow(dialogGrid(form4), 0, 1);
    QCOMPARE(desk.window->line(2).code(voucher::LookupKind::Department), QStringLiteral("310"));
    QCOMPARE(dept2->text(), QStringLiteral("품질관리팀"));
    QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Department), QString());
    QCOMPARE(dept1->text(), QStringLiteral("팀"));
}

void TestLineFields::acceleratorsClickWithoutLeavingTheField()
{
    FieldDesk desk([](store::Connection& c) { seedProjectVoucher(c); });
    QVERIFY(desk.show());
    clickGridRow(desk.window->findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1")), 0);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Correcting);
    QLineEdit* project = desk.nameField(voucher::LookupKind::Project, 1);
    project->setFocus();
    typeText(project, QStringLiteral(" 2차"));

    QSignalSpy cancels(desk.button(QStringLiteral("CancelBtn")), &QPushButton::clicked);
    QTest::keyClick(project, Qt::Key_C, Qt::AltModifier);
    QCOMPARE(cancels.count(), 1);
    QCOMPARE(desk.window->mode(), voucher::VoucherMode::Idle);
    QCOMPARE(desk.focus(), QStringLiteral("edProject_Name_01"));
    // The field was never left: no dialog asked for the typed name.
    QCOMPARE(desk.shownDialogs(), 0);
    QCOMPARE(desk.dialog(voucher::LookupKind::Project)->targetLine(), 0);
}

void TestLineFields::engineErrorInTheSearchLeavesTheCodeEmpty()
{
    FieldDesk desk;
    QLineEdit* item = desk.nameField(voucher::LookupKind::Item, 1);
    item->setFocus();
    QVERIFY(desk.show());
    desk.window->writeLookupChoice(voucher::LookupKind::Item, 1, QStringLiteral("I001"), QStringLiteral("사무용품"));
    execSql(desk.account.connection(), QStringLiteral("ALTER TABLE Item_Table RENAME TO Item_Gone"));

    ModalWatcher watcher;
    QTest::keyClick(item, Qt::Key_Tab);
    QTRY_COMPARE(watcher.texts.size(), 1);
    QCOMPARE(watcher.icons.first(), QMessageBox::Critical);
    QVERIFY2(watcher.texts.first().contains(QLatin1String("Item_Table"), Qt::CaseInsensitive),
             qPrintable(watcher.texts.first()));
    QVERIFY(!desk.dialog(voucher::LookupKind::Item)->isVisible());
    QCOMPARE(desk.window->line(1).code(voucher::LookupKind::Item), QString());
    QCOMPARE(item->text(), QStringLiteral("사무용품"));
    QCOMPARE(desk.focus(), QStringLiteral("edCr_Amt_01"));
}

ENTRY_TEST_MAIN(TestLineFields)
#include "test_linefields.moc"
