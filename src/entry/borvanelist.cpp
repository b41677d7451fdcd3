#include "borvane.h"

#include "core/strutil.h"
#include "listnarrowing.h"
#include "statements.h"
#include "widgets/branchcombo.h"
#include "widgets/colourpanel.h"
#include "widgets/colours.h"
#include "widgets/dbgrid.h"
#include "widgets/focusexit.h"
#include "widgets/messages.h"
#include "widgets/placement.h"
#include "widgets/waitcursor.h"

#include <QDate>
#include <QFrame>
#include <QLineEdit>
#include <QSignalBlocker>

void TfmBorvane::FormCreate()
{
    centreOnScreen(this);
    setMode(QStringLiteral("1"));
    // The window works with YYYY-MM-DD whatever the machine's short date is.
    edDate->setText(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    pClear();
    pEnabledBtn();
    fillBranchList();
    {
        const QSignalBlocker quiet(cbKubun);
        cbKubun->setCurrentIndex(0);
    }
    m_gridReturnKey.clear();
    pQuery();
}

void TfmBorvane::fillBranchList()
{
    Query2.close();
    Query2.setLines(entrysql::branchList());
    Query2.open();
    const QSignalBlocker quiet(cbKubun);
    cbKubun->clear();
    for (Query2.first(); !Query2.eof(); Query2.next())
        cbKubun->addItem(Query2.asText(QStringLiteral("Total")));
}

void TfmBorvane::prepareVoucherList(const QStringList& lines)
{
    Query1.close();
    Query1.setLines(lines);
    const QString pattern = u'%' + edDate->text() + formatZeroPadded(branchIndex(), 5) + u'%';
    Query1.bindText(QStringLiteral("tbDKubun"), pattern);
    listnarrowing::narrowToDateAndBranch(Query1, pattern); // the same rows, found by index
}

void TfmBorvane::pQuery()
{
    WaitCursor wait;
    // A data source that did not answer at start-up left the branch list
    // empty; the first list that reaches the database fills it.
    if (cbKubun->count() == 0) {
        fillBranchList();
        const QSignalBlocker quiet(cbKubun);
        cbKubun->setCurrentIndex(0);
    }
    prepareVoucherList(entrysql::voucherList());
    Query1.open();
    m_listedBranchText = cbKubun->currentText();
    m_listedBranchItem = cbKubun->currentIndex();
}

void TfmBorvane::cbKubunEnter()
{
    cbKubun->openList();
}

void TfmBorvane::cbKubunExit(QWidget* target)
{
    cbKubun->closeList();
    if (focusTargetName(target) == QLatin1String("DBGrid1")) {
        setMode(QStringLiteral("3"));
        return;
    }
    if (!mayDiscardTypedLines(cbKubun))
        return;
    reloadForBranch();
}

void TfmBorvane::cbKubunChange()
{
    if (!mayDiscardTypedLines(cbKubun)) {
        // The typed lines stay, and with them the branch they were typed for.
        const QSignalBlocker quiet(cbKubun);
        cbKubun->setCurrentIndex(m_listedBranchItem);
        cbKubun->setEditText(m_listedBranchText);
        return;
    }
    reloadForBranch();
}

void TfmBorvane::reloadForBranch()
{
    showPanelsEnabled();
    pQuery();
    setMode(QStringLiteral("1"));
    pEnabledBtn();
    paintPanelsButtonFace();
    pClear();
}

void TfmBorvane::DBGrid1CellClick()
{
    chooseGridRow();
}

void TfmBorvane::DBGrid1KeyDown()
{
    chooseGridRow();
}

void TfmBorvane::DBGrid1KeyUp()
{
    chooseGridRow();
}

void TfmBorvane::chooseGridRow()
{
    // Only the chosen voucher's lines stay shown. Each panel changes its
    // visibility once, at the end, so that moving through the grid does not
    // hide and show again the panels two vouchers have in common.
    m_panelsToShow.emplace();
    m_panelsToShow->fill(false);
    struct ShowChosen {
        TfmBorvane* w;
        ~ShowChosen()
        {
            const auto shown = *w->m_panelsToShow;
            w->m_panelsToShow.reset();
            for (LinePanel& line : w->m_lines)
                line.panel->setVisible(shown[line.number - 1]);
        }
    } showChosen{this};
    setMode(QStringLiteral("2"));
    pEnabledBtn();
    pDBGridDisplay();
}

void TfmBorvane::showLinePanel(LinePanel& line)
{
    if (m_panelsToShow)
        (*m_panelsToShow)[line.number - 1] = true;
    else
        line.panel->setVisible(true);
}

void TfmBorvane::pDBGridDisplay()
{
    if (warnWhenListEmpty())
        return;
    edSerial->setText(Query1.asText(QStringLiteral("Serial_Jen")));
    WaitCursor wait;
    pPanel_DisplayQuery();
    m_linesTyped = false; // what the panels show now is stored

    Query2.close();
    Query2.setLines(entrysql::voucherLineNumbers());
    Query2.bindText(QStringLiteral("tbSerial_jen"), Str_TrimRight(Query1.asText(QStringLiteral("Serial_Jen"))));
    Query2.bindText(QStringLiteral("tbSerial_day"), Str_TrimRight(Query1.asText(QStringLiteral("Date_Day"))));
    Query2.prepare();
    Query2.open();
    const QString chosen = Query1.asText(QStringLiteral("Serial_Bun"));
    for (Query2.first(); !Query2.eof(); Query2.next()) {
        const int n = strictToInt(Query2.asText(QStringLiteral("serial_bun")));
        if (n < 1 || n > kLineCount)
            continue;
        LinePanel& line = lineAt(n);
        showLinePanel(line);
        if (chosen != line.twoDigits())
            continue;
        for (LinePanel& other : m_lines)
            other.panel->setColour(other.number == n ? colours::aqua() : colours::buttonFace());
        for (LinePanel& other : m_lines)
            other.panel->setEnabled(other.number == n);
    }
}
