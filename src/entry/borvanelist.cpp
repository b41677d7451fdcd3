#include "borvane.h"

#include "widgets/dbgrid.h"
#include "widgets/focusexit.h"
#include "widgets/placement.h"
#include "core/strutil.h"
#include "widgets/waitcursor.h"
#include "widgets/branchcombo.h"
#include "widgets/colourpanel.h"
#include "widgets/colours.h"
#include "widgets/messages.h"

#include <QDate>
#include <QFrame>
#include <QLineEdit>
#include <QSignalBlocker>

namespace entry {

void TfmBorvane::FormCreate()
{
    widgets::centreOnScreen(this);
    m_draft.mode = voucher::VoucherMode::Idle;
    // The window works with YYYY-MM-DD whatever the machine's short date is.
    edDate->setText(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    pClear();
    pEnabledBtn();
    fillBranchList();
    {
        const QSignalBlocker quiet(cbKubun);
        cbKubun->setCurrentIndex(0);
    }
    m_draft.gridReturnKey.clear();
    pQuery();
}

void TfmBorvane::fillBranchList()
{
    const QStringList branches = m_book.branchNames();
    const QSignalBlocker quiet(cbKubun);
    cbKubun->clear();
    cbKubun->addItems(branches);
}

void TfmBorvane::fillEmptyBranchList()
{
    // A data source that did not answer at start-up left the branch list
    // empty; the next action that reaches the database fills it.
    if (cbKubun->count() != 0)
        return;
    widgets::WaitCursor wait;
    fillBranchList();
    const QSignalBlocker quiet(cbKubun);
    cbKubun->setCurrentIndex(0);
}

void TfmBorvane::pQuery()
{
    widgets::WaitCursor wait;
    fillEmptyBranchList();
    m_book.listDateAndBranch(edDate->text(), branchIndex());
    m_listedBranchText = cbKubun->currentText();
    m_listedBranchItem = cbKubun->currentIndex();
}

void TfmBorvane::cbKubunEnter(QWidget* from)
{
    // Leaving the date has just tried the database (and said so if it failed).
    if (from != edDate)
        fillEmptyBranchList();
    cbKubun->openList();
}

void TfmBorvane::cbKubunExit(QWidget* target)
{
    cbKubun->closeList();
    if (widgets::focusTargetName(target) == QLatin1String("DBGrid1")) {
        m_draft.mode = voucher::VoucherMode::New;
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
    m_draft.mode = voucher::VoucherMode::Idle;
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
    m_draft.mode = voucher::VoucherMode::Correcting;
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
    const voucher::ListedLine chosen = m_book.listedLine();
    edSerial->setText(chosen.serialJen);
    widgets::WaitCursor wait;
    pPanel_DisplayQuery();
    m_linesTyped = false; // what the panels show now is stored

    for (const QString& serialBun : m_book.voucherLineNumbers(chosen.date, chosen.serialJen)) {
        const int n = core::strictToInt(serialBun);
        if (n < 1 || n > voucher::kLineCount)
            continue;
        LinePanel& line = lineAt(n);
        showLinePanel(line);
        if (chosen.serialBun != line.twoDigits())
            continue;
        for (LinePanel& other : m_lines)
            other.panel->setColour(other.number == n ? widgets::aqua() : widgets::buttonFace());
        for (LinePanel& other : m_lines)
            other.panel->setEnabled(other.number == n);
    }
}

} // namespace entry
