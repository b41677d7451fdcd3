#include "clerkdesk.h"

#include "core/strutil.h"
#include "entrykit.h"
#include "store/connection.h"
#include "store/statement.h"
#include "widgets/colourpanel.h"
#include "widgets/colours.h"
#include "widgets/dbgrid.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace clerkdesk {

const QString kFaultText = QStringLiteral("시험용 오류: 저장을 거부합니다");

Desk::Desk()
{
    w.setLookupDialogs({&form1, &form2, &form3, &form4, &form5, &form6});
    w.show();
    activate();
}

Desk::~Desk()
{
    for (voucher::LookupKind kind : voucher::kAllNameKinds)
        dialog(kind)->hide();
}

lookup::LookupFrame* Desk::dialog(voucher::LookupKind kind)
{
    lookup::LookupFrame* dialogs[] = {&form1, &form2, &form3, &form4, &form5, &form6};
    return dialogs[static_cast<size_t>(kind)];
}

QLineEdit* Desk::edit(const QString& name)
{
    auto* e = w.findChild<QLineEdit*>(name);
    if (!e)
        qWarning("no field %s", qPrintable(name));
    return e;
}

QPushButton* Desk::button(const QString& name)
{
    return w.findChild<QPushButton*>(name);
}

widgets::DbGrid* Desk::grid()
{
    return w.findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
}

bool Desk::activate()
{
    if (QApplication::activeWindow() == &w)
        return true;
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

namespace {

QListView* branchList()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("cbKubunList"))
            return qobject_cast<QListView*>(top);
    return nullptr;
}

// Selects a field's whole text with keys that type no character, so no
// key filter sees them.
void selectAll(QLineEdit* field)
{
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Home, Qt::ShiftModifier);
}

// Clicks the row of the lookup's grid whose code column holds `code`.
void pick(lookup::LookupFrame* dialog, const QString& code)
{
    store::SqlStatement* q = dialog->query();
    const int codeColumn = q->columnIndex(dialog->reading().codeColumn);
    auto* grid = dialog->findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    QVERIFY(grid);
    int row = -1;
    for (int r = 0; r < grid->model()->rowCount() && row < 0; ++r)
        if (core::Str_TrimRight(q->value(r, codeColumn).toString()) == code)
            row = r;
    QVERIFY2(row >= 0, qPrintable(QStringLiteral("%1 is not offered").arg(code)));
    grid->scrollTo(grid->model()->index(row, 1));
    entrykit::clickGridRow(grid, row, 1);
}

} // namespace

void retype(Desk& desk, QLineEdit* field, const QString& text)
{
    QVERIFY(desk.activate());
    QTest::mouseClick(field, Qt::LeftButton);
    // Leaving the previous field may have opened its lookup.
    QVERIFY(desk.activate());
    QCOMPARE(desk.w.focusWidget(), field);
    selectAll(field);
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        entrykit::typeText(field, text);
}

void press(Desk& desk, const QString& button)
{
    QVERIFY(desk.activate());
    QTest::mouseClick(desk.button(button), Qt::LeftButton);
}

void chooseRow(Desk& desk, const QString& serialJen, const char* line)
{
    const int row = entrykit::gridRowOf(desk.grid(), serialJen, QLatin1String(line));
    QVERIFY(row >= 0);
    entrykit::clickGridRow(desk.grid(), row);
    QCOMPARE(desk.w.mode(), voucher::VoucherMode::Correcting);
}

void chooseDateAndBranch(Desk& desk, const QString& date, int branch)
{
    QLineEdit* edDate = desk.edit(QStringLiteral("edDate"));
    retype(desk, edDate, date);
    QTest::keyClick(edDate, Qt::Key_Tab);
    QListView* list = branchList();
    QVERIFY(list && list->isVisible());
    const QRect item = list->visualRect(list->model()->index(branch, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    auto* cbKubun = desk.w.findChild<QComboBox*>(QStringLiteral("cbKubun"));
    QCOMPARE(desk.w.branchIndex(), branch);
    QTest::keyClick(cbKubun, Qt::Key_Tab);
    QCOMPARE(entrykit::focusName(&desk.w), QStringLiteral("edAc_JenName_01"));
}

void typeName(Desk& desk, int line, voucher::LookupKind kind, const NameInput& input)
{
    QLineEdit* field = desk.w.line(line).name(kind);
    lookup::LookupFrame* dialog = desk.dialog(kind);
    dialog->hide();
    retype(desk, field, input.search);
    if (QTest::currentTestFailed())
        return;
    QTest::keyClick(field, Qt::Key_Tab);
    QVERIFY2(dialog->isVisible(), qPrintable(field->objectName() + QStringLiteral(": no lookup opened")));
    QCOMPARE(dialog->targetLine(), line);
    if (!input.code.isEmpty()) {
        pick(dialog, input.code);
        QCOMPARE(desk.w.line(line).code(kind), input.code);
    }
    QVERIFY(desk.activate());
}

void typeLine(Desk& desk, int line, const LineInput& input)
{
    const std::pair<voucher::LookupKind, const NameInput*> names[] = {
        {voucher::LookupKind::Account, &input.account},    {voucher::LookupKind::CustomerBank, &input.customer},
        {voucher::LookupKind::Employee, &input.employee},  {voucher::LookupKind::Department, &input.department},
        {voucher::LookupKind::Project, &input.project},
    };
    for (const auto& [kind, name] : names) {
        if (name->search.isEmpty())
            continue;
        typeName(desk, line, kind, *name);
        if (QTest::currentTestFailed())
            return;
    }
    const entry::LinePanel& l = desk.w.line(line);
    if (!input.text.isEmpty())
        retype(desk, l.acText, input.text);
    if (!input.item.search.isEmpty())
        typeName(desk, line, voucher::LookupKind::Item, input.item);
    if (!input.amount.isEmpty())
        retype(desk, l.crAmt, input.amount);
}

QStringList windowState(Desk& desk)
{
    QStringList state{voucher::modeText(desk.w.mode()), desk.edit(QStringLiteral("edSerial"))->text(), desk.w.lastStoredKey(),
                      desk.w.gridReturnKey()};
    for (int n = 1; n <= voucher::kLineCount; ++n) {
        const entry::LinePanel& l = desk.w.line(n);
        state << l.serialBun->text() << l.acText->text() << l.crAmt->text() << l.drAmt->text() << l.crAmtPlain
              << l.drAmtPlain;
        for (voucher::LookupKind kind : voucher::kAllNameKinds)
            state << l.name(kind)->text() << l.code(kind);
        state << QString::number(l.panel->isHidden()) << QString::number(l.panel->isEnabled())
              << l.panel->colour().name();
    }
    for (const char* b : {"InsertBtn", "CancelBtn", "SaveBtn", "DeleteBtn", "PrintBtn", "CloseBtn"})
        state << QString::number(desk.button(QLatin1String(b))->isEnabled());
    return state;
}


qint64 nativeCount(store::Connection& c, const QString& where)
{
    const auto rows = c.selectNative(QStringLiteral("SELECT count(*) FROM account_jen_AA WHERE ") + where);
    return rows.isEmpty() ? -1 : rows.first().first().toLongLong();
}

QVector<QStringList> voucherRows(store::Connection& c, const QString& serialJen, const QString& columns)
{
    // SQLite keeps the insertion order in rowid; elsewhere the clock of each
    // write orders the rows, line and side breaking ties.
    const QString order = c.engine() == core::Engine::SQLite
                              ? QStringLiteral("rowid")
                              : QStringLiteral("End_Day, Serial_Bun, Serial_CrDr DESC");
    return c.selectNative(QStringLiteral("SELECT %1 FROM account_jen_AA WHERE rtrim(Serial_Jen) = '%2' ORDER BY %3")
                             .arg(columns, serialJen, order));
}

namespace {

void exec(store::Connection& c, const QString& sql)
{
    QSqlQuery q(c.database());
    if (!q.exec(sql))
        QFAIL(qPrintable(sql + QStringLiteral(": ") + q.lastError().text()));
}

bool sqlite(store::Connection& c)
{
    return c.engine() == core::Engine::SQLite;
}

void definePostgresFault(store::Connection& c)
{
    exec(c, QStringLiteral("CREATE OR REPLACE FUNCTION fault_raise() RETURNS trigger LANGUAGE plpgsql AS "
                           "$$ BEGIN RAISE EXCEPTION '%1'; END $$")
                .arg(kFaultText));
}

} // namespace

void failInsertsOfLine(store::Connection& c, const QString& serialBun)
{
    if (sqlite(c)) {
        exec(c, QStringLiteral("CREATE TRIGGER fault_insert BEFORE INSERT ON account_jen_AA "
                               "WHEN rtrim(NEW.Serial_Bun) = '%1' BEGIN SELECT RAISE(ABORT, '%2'); END")
                    .arg(serialBun, kFaultText));
        return;
    }
    definePostgresFault(c);
    exec(c, QStringLiteral("CREATE TRIGGER fault_insert BEFORE INSERT ON account_jen_aa FOR EACH ROW "
                           "WHEN (rtrim(NEW.serial_bun) = '%1') EXECUTE FUNCTION fault_raise()")
                .arg(serialBun));
}

void failCreditUpdates(store::Connection& c)
{
    if (sqlite(c)) {
        exec(c, QStringLiteral("CREATE TRIGGER fault_update BEFORE UPDATE ON account_jen_AA "
                               "WHEN rtrim(NEW.Serial_CrDr) = '02' BEGIN SELECT RAISE(ABORT, '%1'); END")
                    .arg(kFaultText));
        return;
    }
    definePostgresFault(c);
    exec(c, QStringLiteral("CREATE TRIGGER fault_update BEFORE UPDATE ON account_jen_aa FOR EACH ROW "
                           "WHEN (rtrim(NEW.serial_crdr) = '02') EXECUTE FUNCTION fault_raise()"));
}

void failCommits(store::Connection& c)
{
    if (sqlite(c)) {
        // A deferred foreign key is checked only at COMMIT.
        exec(c, QStringLiteral("PRAGMA foreign_keys = ON"));
        exec(c, QStringLiteral("CREATE TABLE fault_parent (id INTEGER PRIMARY KEY)"));
        exec(c, QStringLiteral("CREATE TABLE fault_child (parent INTEGER REFERENCES fault_parent(id) "
                               "DEFERRABLE INITIALLY DEFERRED)"));
        exec(c, QStringLiteral("CREATE TRIGGER fault_commit AFTER INSERT ON account_jen_AA "
                               "BEGIN INSERT INTO fault_child VALUES (1); END"));
        return;
    }
    definePostgresFault(c);
    exec(c, QStringLiteral("CREATE CONSTRAINT TRIGGER fault_commit AFTER INSERT ON account_jen_aa "
                           "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION fault_raise()"));
}

void removeFaults(store::Connection& c)
{
    for (const char* name : {"fault_insert", "fault_update", "fault_commit"})
        exec(c, sqlite(c) ? QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(QLatin1String(name))
                          : QStringLiteral("DROP TRIGGER IF EXISTS %1 ON account_jen_aa").arg(QLatin1String(name)));
}

} // namespace clerkdesk
