#include "borvane.h"

#include "core/strutil.h"
#include "widgets/waitcursor.h"
#include "widgets/branchcombo.h"
#include "widgets/colourpanel.h"
#include "widgets/dbgrid.h"
#include "widgets/messages.h"

#include <QFrame>
#include <QLineEdit>

namespace entry {

namespace {

// Another workstation deleted the line first; the list below shows what is left.
const QString kLineAlreadyGone =
    QStringLiteral("삭제할 전표 라인이 이미 없습니다. 다른 곳에서 삭제되었습니다....");

} // namespace

void TfmBorvane::DeleteBtnClick()
{
    if (warnWhenListEmpty())
        return;
    m_draft.serial = edSerial->text();
    m_draft.gridReturnKey = core::Str_RemoveBlanks(m_draft.serial);
    const int n = voucher::VoucherDraft::lineToDelete(m_book.listedLine().serialBun);
    if (refuse(m_draft.checkDeletion(n)))
        return;
    if (n != 0) {
        LinePanel& line = lineAt(n);
        int deleted = 0;
        try {
            deleted = m_book.deleteLine(edSerial->text(), line.serialBun->text());
        } catch (const voucher::PeriodClosedError& closed) {
            // Nothing was deleted: the window stays as it was.
            widgets::warningBox(this, closed.text());
            DBGrid1->setFocus();
            return;
        }
        edSerial->clear();
        line.panel->setVisible(false);
        if (deleted == 0)
            widgets::warningBox(this, kLineAlreadyGone);
    }
    if (m_book.countVoucherRows(m_draft.gridReturnKey) != 0) {
        pDeleteCount_Query();
        return;
    }
    showPanelsEnabled();
    m_draft.mode = voucher::VoucherMode::Idle;
    pEnabledBtn();
    paintPanelsButtonFace();
    pQuery();
    pClear();
}

void TfmBorvane::pDeleteCount_Query()
{
    widgets::WaitCursor wait;
    m_book.listRemainingLines(edDate->text(), branchIndex(), m_draft.gridReturnKey);
}

} // namespace entry
