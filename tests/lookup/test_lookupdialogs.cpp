// The lookup windows driven with real mouse and key events under the
// offscreen platform, on a SQLite file with the demo data.
#include "lookuptestkit.h"
#include "modalwatcher.h"

#include "lookup/lookupforms.h"
#include "store/connection.h"
#include "store/statement.h"
#include "testdb.h"
#include "widgets/dbgrid.h"
#include "widgets/placement.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

namespace {

const QString kAltF4Text = QStringLiteral("현재 \"Alt+F4\"키는 종료를 못 시킵니다");

template <typename T>
T* part(QWidget* dialog, const char* name)
{
    T* widget = dialog->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no %s in %s", name, qPrintable(dialog->objectName()));
    return widget;
}

widgets::DbGrid* gridOf(QWidget* dialog) { return part<widgets::DbGrid>(dialog, "DBGrid1"); }

// The centre of a row's first shown cell.
QPoint rowPoint(widgets::DbGrid* grid, int row)
{
    int column = 0;
    while (grid->isColumnHidden(column))
        ++column;
    return grid->visualRect(grid->model()->index(row, column)).center();
}

void clickRow(widgets::DbGrid* grid, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(grid, row));
}

// Employees in code order, as (code, name), read straight from the table.
QVector<QStringList> employees()
{
    return store::Connection::account().selectNative(QStringLiteral("select Sawon_Code, Sawon_Name from Sawon_Table order by Sawon_Code"));
}

// Types text the way a keyboard (or an input method) delivers it.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, c == u' ' ? Qt::Key_Space : Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
}

// An input method's commit, then the syllable it goes on composing.
void commitThenCompose(QWidget* widget, const QString& committed, const QString& composing)
{
    QInputMethodEvent commit;
    commit.setCommitString(committed);
    QApplication::sendEvent(widget, &commit);
    QInputMethodEvent preedit(composing, {});
    QApplication::sendEvent(widget, &preedit);
}

bool showAndActivate(lookup::LookupDialog& dialog)
{
    dialog.showLookup();
    return QTest::qWaitForWindowActive(&dialog);
}

// The whole list for a line, shown, with its first row clicked: the grid, or
// null when the dialog did not become the active window.
widgets::DbGrid* listedWithFirstRowClicked(lookup::LookupDialog& dialog, int line)
{
    dialog.prepareFor(line, QString());
    dialog.runSearch();
    if (!showAndActivate(dialog))
        return nullptr;
    widgets::DbGrid* grid = gridOf(&dialog);
    clickRow(grid, 0);
    return grid;
}

} // namespace

class LookupDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { store::Connection::setAccount(testdb::sqlite(m_dir)); }
    void cleanupTestCase() { store::Connection::setAccount(nullptr); }

    void creationListsTheWholeTableCentred()
    {
        FakeTarget target;
        lookup::TForm3 form(&target);
        QCOMPARE(form.query()->rowCount(), int(employees().size()));
        QCOMPARE(form.targetLine(), 0);
        // Resident numbers are shown masked after the digit that follows the hyphen.
        const auto stored = store::Connection::account().selectNative(
            QStringLiteral("select Sawon_Jumin01, Sawon_Jumin02 from Sawon_Table order by Sawon_Code"));
        for (int row = 0; row < stored.size(); ++row) {
            QStringList cells;
            for (int column = 0; column < gridOf(&form)->model()->columnCount(); ++column)
                cells << gridOf(&form)->model()->index(row, column).data().toString();
            QVERIFY2(cells.contains(stored[row][0] + u'-' + stored[row][1].left(1) + QStringLiteral("******")),
                     qPrintable(cells.join(u'|')));
        }
        const QSize screen = form.screen()->geometry().size();
        QCOMPARE(form.pos(), QPoint(widgets::centredEdge(screen.width(), form.frameGeometry().width()),
                                    widgets::centredEdge(screen.height(), form.frameGeometry().height())));
        QVERIFY(!form.isVisible());
    }

    void wholeTableListingWaitsUntilTheDialogIsSeen()
    {
        FakeTarget target;
        lookup::TForm2 form(&target);
        auto* statement = form.findChild<store::SqlStatement*>();
        QVERIFY(statement);
        QVERIFY(!statement->isOpen()); // nothing read while the program starts
        form.show();
        QVERIFY(statement->isOpen());
        const int all = statement->rowCount();
        QVERIFY(all > 0);
        form.hide();
        // A showing prepared by the entry window runs its own search; the
        // creation listing must not come back over it.
        form.prepareFor(2, QStringLiteral("국민"));
        form.runSearch();
        const int found = statement->rowCount();
        QVERIFY(found > 0 && found < all);
        form.show();
        QCOMPARE(statement->rowCount(), found);
    }

    void clickWritesTheRowToTheTargetLineAndStaysOpen()
    {
        FakeTarget target;
        lookup::TForm3 form(&target);
        form.prepareFor(3, QString());
        form.runSearch();
        QVERIFY(showAndActivate(form));
        QVERIFY(!form.isModal());

        clickRow(gridOf(&form), 2);
        const QStringList third = employees().at(2);
        QCOMPARE(target.writes.size(), 1);
        QCOMPARE(target.writes[0].kind, voucher::LookupKind::Employee);
        QCOMPARE(target.writes[0].line, 3);
        QCOMPARE(target.writes[0].code, third[0]);
        QCOMPARE(target.writes[0].name, third[1]);
        QCOMPARE(part<QLineEdit>(&form, "edAc_code2")->text(), third[0]);
        QCOMPARE(part<QLineEdit>(&form, "edAc_Name2")->text(), third[1]);
        QVERIFY(form.isVisible());
    }

    void keysWriteTheOldRowOnDownAndTheNewRowOnUp()
    {
        FakeTarget target;
        lookup::TForm3 form(&target);
        widgets::DbGrid* grid = listedWithFirstRowClicked(form, 2);
        QVERIFY(grid);
        target.writes.clear();
        const QVector<QStringList> rows = employees();

        QTest::keyPress(grid, Qt::Key_Down);
        QCOMPARE(target.writes.size(), 1);
        QCOMPARE(target.writes.last().code, rows[0][0]);
        QTest::keyRelease(grid, Qt::Key_Down);
        QCOMPARE(target.writes.size(), 2);
        QCOMPARE(target.writes.last().code, rows[1][0]);
        QCOMPARE(target.writes.last().line, 2);

        // Enter and Escape write like any key and hide nothing.
        QTest::keyClick(grid, Qt::Key_Return);
        QTest::keyClick(grid, Qt::Key_Escape);
        QCOMPARE(target.writes.size(), 6);
        QCOMPARE(target.writes.last().code, rows[1][0]);
        QVERIFY(form.isVisible());
    }

    void ctrlEndGoesToTheLastRowOfTheWholeList()
    {
        // More employees than the grid reads in one batch.
        QStringList added;
        for (int i = 0; i < 300; ++i)
            added << QStringLiteral("('S9%1', '추가 사원 %1', '남', '800101', '1234567', '')").arg(i, 3, 10, QLatin1Char('0'));
        store::Connection::account().execNative(QStringLiteral("insert into Sawon_Table values ") + added.join(u','));
        const QVector<QStringList> rows = employees();

        FakeTarget target;
        lookup::TForm3 form(&target);
        widgets::DbGrid* grid = listedWithFirstRowClicked(form, 4);
        QVERIFY(grid);
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid->currentIndex().row(), int(rows.size()) - 1);
        QCOMPARE(target.writes.last().code, rows.last()[0]);
        QCOMPARE(target.writes.last().line, 4);
    }

    void anEmptyResultEmptiesTheTarget()
    {
        FakeTarget target;
        lookup::TForm4 form(&target);
        form.prepareFor(3, QStringLiteral("없는 부서"));
        form.runSearch();
        QVERIFY(showAndActivate(form));
        widgets::DbGrid* grid = gridOf(&form);
        QCOMPARE(grid->model()->rowCount(), 0);

        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->viewport()->rect().center());
        QCOMPARE(target.writes.size(), 1);
        QCOMPARE(target.writes[0].kind, voucher::LookupKind::Department);
        QCOMPARE(target.writes[0].line, 3);
        QVERIFY(target.writes[0].code.isEmpty());
        QVERIFY(target.writes[0].name.isEmpty());
        QVERIFY(part<QLineEdit>(&form, "edAc_code2")->text().isEmpty());
    }

    void aLineOutsideOneToFiveGetsNothing()
    {
        FakeTarget target;
        lookup::TForm6 form(&target);
        form.prepareFor(7, QString());
        form.runSearch();
        QVERIFY(showAndActivate(form));
        clickRow(gridOf(&form), 0);
        QVERIFY(target.writes.isEmpty());
        QVERIFY(!part<QLineEdit>(&form, "edAc_code2")->text().isEmpty());
    }

    void doubleClickWritesAndHidesCloseHidesWithoutWriting()
    {
        FakeTarget target;
        lookup::TForm5 form(&target);
        form.prepareFor(1, QString());
        form.runSearch();
        QVERIFY(showAndActivate(form));
        widgets::DbGrid* grid = gridOf(&form);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(grid, 1));
        QVERIFY(!form.isVisible());
        QVERIFY(!target.writes.isEmpty());
        QCOMPARE(target.writes.last().code, form.query()->asText(QStringLiteral("Project_Code")));
        QCOMPARE(form.query()->currentRow(), 1);

        // Shown again, the close button hides it and writes nothing.
        QVERIFY(showAndActivate(form));
        const auto written = target.writes.size();
        QTest::mouseClick(part<QPushButton>(&form, "CloseBtn"), Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QCOMPARE(target.writes.size(), written);
    }

    void altF4AndWindowCloseAreRefusedEscapeDoesNothing()
    {
        FakeTarget target;
        lookup::TForm1 form(&target);
        form.prepareFor(1, QStringLiteral("예금"));
        form.runSearch();
        QVERIFY(showAndActivate(form));
        {
            ModalWatcher catcher;
            QTest::keyClick(gridOf(&form), Qt::Key_F4, Qt::AltModifier);
            QCOMPARE(catcher.texts, QStringList{kAltF4Text});
            QCOMPARE(catcher.titles, QStringList{QStringLiteral("출금 전표")});
        }
        QVERIFY(form.isVisible());
        QVERIFY(form.isVisible());
        QTest::keyClick(form.searchEdit(), Qt::Key_Escape);
        QVERIFY(form.isVisible());
        QCOMPARE(form.searchEdit()->text(), QStringLiteral("예금"));

        // A close of the window itself only hides it: the dialog lives on.
        QPointer<lookup::TForm1> alive(&form);
        form.windowHandle()->close();
        QVERIFY(alive);
        QVERIFY(!form.isVisible());
        QVERIFY(showAndActivate(form));
        QCOMPARE(form.searchEdit()->text(), QStringLiteral("예금"));
    }

    void enterInTheSearchFieldMovesOnAndSearches()
    {
        FakeTarget target;
        lookup::TForm3 form(&target);
        form.prepareFor(1, QString());
        QVERIFY(showAndActivate(form));
        QCOMPARE(form.focusWidget(), form.searchEdit());
        typeText(form.searchEdit(), QStringLiteral("김 철"));
        QTest::keyClick(form.searchEdit(), Qt::Key_Return);
        QCOMPARE(form.focusWidget(), part<QPushButton>(&form, "SearchBtn"));
        QCOMPARE(form.query()->rowCount(), 1);
        QCOMPARE(form.query()->asText(QStringLiteral("Sawon_Name")), QStringLiteral("김철수"));
        QCOMPARE(form.searchEdit()->text(), QStringLiteral("김 철"));
    }

    void aSyllableBeingComposedIsPartOfTheSearch()
    {
        FakeTarget target;
        lookup::TForm3 form(&target);
        form.prepareFor(1, QString());
        QVERIFY(showAndActivate(form));
        commitThenCompose(form.searchEdit(), QStringLiteral("민"), QStringLiteral("수"));
        QTest::keyClick(form.searchEdit(), Qt::Key_Return);
        QCOMPARE(form.searchEdit()->text(), QStringLiteral("민수"));
        QCOMPARE(form.query()->rowCount(), 1); // "민" alone finds two
        QCOMPARE(form.query()->asText(QStringLiteral("Sawon_Name")), QStringLiteral("박민수"));

        // Alt+R from the search field.
        form.searchEdit()->setFocus();
        form.searchEdit()->clear();
        commitThenCompose(form.searchEdit(), QStringLiteral("철"), QStringLiteral("수"));
        QTest::keyClick(form.searchEdit(), Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(form.query()->asText(QStringLiteral("Sawon_Name")), QStringLiteral("김철수"));
        QCOMPARE(form.query()->rowCount(), 1); // "철" alone finds two

        // The customer and bank lookup's kind selector.
        lookup::TForm2 banks(&target);
        auto* cbCheck = part<QComboBox>(&banks, "cbCheck");
        QVERIFY(showAndActivate(banks));
        QCOMPARE(banks.focusWidget(), cbCheck);
        cbCheck->lineEdit()->selectAll();
        commitThenCompose(cbCheck, QStringLiteral("은행"), QStringLiteral("명"));
        QTest::keyClick(cbCheck, Qt::Key_Return);
        QCOMPARE(banks.selectedKind(), 2);
        const QVector<QStringList> found = readRows(*banks.query(), {QStringLiteral("Tot_Kubun")});
        QVERIFY(!found.isEmpty());
        for (const QStringList& r : found)
            QCOMPARE(r[0], QStringLiteral("은행명"));
    }

    void clickingIntoTheGridSearchesFirst()
    {
        FakeTarget target;
        lookup::TForm3 form(&target);
        form.prepareFor(4, QString());
        QVERIFY(showAndActivate(form));
        form.searchEdit()->setFocus();
        typeText(form.searchEdit(), QStringLiteral("박"));
        clickRow(gridOf(&form), 0);
        QCOMPARE(target.writes.size(), 1);
        QCOMPARE(target.writes[0].name, QStringLiteral("박민수"));
    }

    void tabToSearchButtonSearchesCloseStraightFromSearchDoesNotInTheAccountLookup()
    {
        FakeTarget target;
        lookup::TForm1 form(&target);
        form.prepareFor(1, QString());
        form.runSearch();
        const int all = form.query()->rowCount();
        QVERIFY(showAndActivate(form));
        form.searchEdit()->setFocus();

        typeText(form.searchEdit(), QStringLiteral("보통"));
        QTest::keyClick(form.searchEdit(), Qt::Key_Tab);
        QCOMPARE(form.focusWidget(), part<QPushButton>(&form, "SearchBtn"));
        const int found = form.query()->rowCount();
        QVERIFY(found > 0 && found < all);

        form.searchEdit()->setFocus();
        form.searchEdit()->clear();
        typeText(form.searchEdit(), QStringLiteral("급여"));
        QTest::mouseClick(part<QPushButton>(&form, "CloseBtn"), Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.query()->rowCount(), found); // no last search
    }

    void closeStraightFromSearchStillSearchesElsewhere()
    {
        FakeTarget target;
        lookup::TForm2 form(&target);
        form.prepareFor(1, QString());
        form.runSearch();
        const int all = form.query()->rowCount();
        QVERIFY(showAndActivate(form));
        form.searchEdit()->setFocus();
        typeText(form.searchEdit(), QStringLiteral("은행"));
        QTest::mouseClick(part<QPushButton>(&form, "CloseBtn"), Qt::LeftButton);
        QVERIFY(!form.isVisible());
        const int found = form.query()->rowCount();
        QVERIFY(found > 0 && found < all);
    }

    void kindComboSearchesOnUserChangesOnly()
    {
        FakeTarget target;
        lookup::TForm2 form(&target);
        auto* cbCheck = part<QComboBox>(&form, "cbCheck");
        QVERIFY(showAndActivate(form));
        QCOMPARE(form.focusWidget(), cbCheck);
        const int all = form.query()->rowCount();

        // Choosing "은행명" with the keys re-runs the search at once.
        QTest::keyClick(cbCheck, Qt::Key_Down);
        QTest::keyClick(cbCheck, Qt::Key_Down);
        QCOMPARE(cbCheck->currentText(), QStringLiteral("은행명"));
        const QVector<QStringList> banks = readRows(*form.query(), {QStringLiteral("Tot_Kubun")});
        QVERIFY(!banks.isEmpty() && banks.size() < all);
        for (const QStringList& r : banks)
            QCOMPARE(r[0], QStringLiteral("은행명"));

        // Text typed over the item selects none: every row again.
        cbCheck->lineEdit()->selectAll();
        typeText(cbCheck, QStringLiteral("x"));
        QCOMPARE(form.selectedKind(), -1);
        QCOMPARE(form.query()->rowCount(), all);

        // Enter moves on to the search field.
        QTest::keyClick(cbCheck, Qt::Key_Return);
        QCOMPARE(form.focusWidget(), form.searchEdit());
        QCOMPARE(cbCheck->count(), 3);

        // Preparing resets the filter without searching.
        QTest::keyClick(cbCheck, Qt::Key_Down);
        form.prepareFor(2, QStringLiteral("국민"));
        QCOMPARE(cbCheck->currentText(), QStringLiteral("전   체"));
        QCOMPARE(form.query()->rowCount(), all);
        QCOMPARE(form.targetLine(), 2);
    }

    void gridsAndWindowsDifferByTheirData()
    {
        FakeTarget target;
        lookup::TForm1 f1(&target);
        lookup::TForm2 f2(&target);
        lookup::TForm3 f3(&target);
        lookup::TForm4 f4(&target);
        lookup::TForm5 f5(&target);
        lookup::TForm6 f6(&target);
        const QList<lookup::LookupFrame*> forms{&f1, &f2, &f3, &f4, &f5, &f6};
        for (lookup::LookupFrame* f : forms) {
            widgets::DbGrid* grid = gridOf(f);
            const bool leading = f != &f4;
            QCOMPARE(grid->model()->columnCount(), int(f->definition().columns.size()) + (leading ? 1 : 0));
            QCOMPARE(grid->isColumnHidden(0), leading);
            const auto alignment = grid->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
            const bool leftTitles = f == &f1 || f == &f4;
            QCOMPARE(bool(alignment & Qt::AlignLeft), leftTitles);
            QCOMPARE(f->size(), f->definition().clientSize);
            // Only the close button of the bar can be used.
            for (QPushButton* b : part<QWidget>(f, "Panel7")->findChildren<QPushButton*>())
                QCOMPARE(b->isEnabled(), b->objectName() == QLatin1String("CloseBtn"));
        }
        QCOMPARE(f4.windowTitle(), QStringLiteral("부서이름을 검색하는 창입니다."));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(LookupDialogsTest)
#include "test_lookupdialogs.moc"
