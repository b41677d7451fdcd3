#include "deskinput.h"

#include "core/strutil.h"
#include "store/statement.h"
#include "widgets/colourpanel.h"
#include "widgets/dbgrid.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

namespace testdesk {

void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

void clickGridRow(widgets::DbGrid* grid, int row, int column)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

int gridRowOf(widgets::DbGrid* grid, const QString& serialJen, const QString& line)
{
    store::SqlStatement* s = grid->statement();
    const int jen = s->columnIndex(QStringLiteral("serial_jen"));
    const int bun = s->columnIndex(QStringLiteral("serial_bun"));
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        if (s->value(row, jen).toString().trimmed() == serialJen && s->value(row, bun).toString().trimmed() == line)
            return row;
    return -1;
}

QString gridText(widgets::DbGrid* grid, int row, int column)
{
    return grid->model()->index(row, column).data().toString();
}

QString focusName(const QWidget* window)
{
    QWidget* f = window->focusWidget();
    return f ? f->objectName() : QString();
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

} // namespace

void chooseListed(lookup::LookupFrame* dialog, const QString& code)
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
    clickGridRow(grid, row, 1);
}

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
        typeText(field, text);
}

void press(Desk& desk, const QString& button)
{
    QVERIFY(desk.activate());
    QTest::mouseClick(desk.button(button), Qt::LeftButton);
}

void chooseRow(Desk& desk, const QString& serialJen, const char* line)
{
    const int row = gridRowOf(desk.grid(), serialJen, QLatin1String(line));
    QVERIFY(row >= 0);
    clickGridRow(desk.grid(), row);
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
    QCOMPARE(desk.focus(), QStringLiteral("edAc_JenName_01"));
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
        chooseListed(dialog, input.code);
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

} // namespace testdesk
