#include "windowstate.h"

#include "core/strutil.h"
#include "panelrows.h"
#include "widgets/accelbutton.h"
#include "widgets/colourpanel.h"
#include "widgets/colours.h"
#include "widgets/dbgrid.h"
#include "widgets/messages.h"

#include <QFrame>
#include <QLineEdit>

namespace entry {

namespace {

// The line is not stored (any more) under the listed key.
const QString kLineNotStored =
    QStringLiteral("수정할 전표 라인이 저장되어 있지 않습니다. 다른 곳에서 삭제되었거나 기준일자가 바뀌었습니다. "
                   "목록을 다시 조회하세요....");

} // namespace

void TfmBorvane::saveCorrection(const WindowState& before)
{
    SaveBtn->setFocus();
    // An exit handler that kept the focus (an amount too long, say) has told
    // the clerk why; the line is not stored as it stands.
    if (focusWidget() != SaveBtn)
        return;
    readDraft();
    if (refuse(m_draft.checkCorrection()))
        return;
    m_draft.gridReturnKey = core::Str_RemoveBlanks(edSerial->text()) + core::Str_RemoveBlanks(m_book.listedLine().serialBun);
    bool stored = false;
    try {
        stored = pUpDateQuery();
    } catch (const voucher::PeriodClosedError& closed) {
        // The line stays as stored; the clerk may choose another in the list.
        restoreState(before);
        widgets::warningBox(this, closed.text());
        DBGrid1->setFocus();
        return;
    } catch (...) {
        // Both rows are as they were; so is the window.
        restoreState(before);
        throw;
    }
    if (!stored) {
        restoreState(before);
        widgets::warningBox(this, kLineNotStored);
        return;
    }
    edSerial->clear();
    pDBGridDisplay();
    pQuery();
    m_book.locateListedLine(m_draft.gridReturnKey);
}

bool TfmBorvane::pUpDateQuery()
{
    // Only the line whose rows the panels were loaded with is written, under
    // the date, number and line it was read by: the date field may have been
    // edited since, and the line chosen in the grid may not have loaded.
    if (!m_draft.loadedLine)
        return false;
    LinePanel& line = lineAt(m_draft.loadedLine->panel);
    line.panel->setColour(widgets::buttonFace());
    line.panel->setEnabled(false);
    // Both rows in one transaction: the debit row never stays corrected alone.
    return m_book.correctLine(m_draft.loadedLine->stored, readVoucherLine(line));
}

} // namespace entry
