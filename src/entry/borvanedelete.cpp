#include "borvane.h"

#include "core/strutil.h"
#include "widgets/waitcursor.h"
#include "widgets/branchcombo.h"
#include "widgets/colourpanel.h"
#include "widgets/dbgrid.h"
#include "widgets/messages.h"

#include <QFrame>
#include <QLineEdit>

namespace {

const QString kNoRowChosen = QStringLiteral("그리드의 레코드를 선택하세요....");
// Another workstation deleted the line first; the list below shows what is left.
const QString kLineAlreadyGone =
    QStringLiteral("삭제할 전표 라인이 이미 없습니다. 다른 곳에서 삭제되었습니다....");

} // namespace

void TfmBorvane::DeleteBtnClick()
{
    if (warnWhenListEmpty())
        return;
    m_gridReturnKey = Str_RemoveBlanks(edSerial->text());
    const int n = strictToInt(Str_RemoveBlanks(m_book.listedLine().serialBun));
    if (n >= 1 && n <= kLineCount) {
        if (edSerial->text().isEmpty()) {
            warningBox(this, kNoRowChosen);
            return;
        }
        LinePanel& line = lineAt(n);
        int deleted = 0;
        try {
            deleted = m_book.deleteLine(edSerial->text(), line.serialBun->text());
        } catch (const PeriodClosedError& closed) {
            // Nothing was deleted: the window stays as it was.
            warningBox(this, closed.text());
            DBGrid1->setFocus();
            return;
        }
        edSerial->clear();
        line.panel->setVisible(false);
        if (deleted == 0)
            warningBox(this, kLineAlreadyGone);
    }
    if (m_book.countVoucherRows(m_gridReturnKey) != 0) {
        pDeleteCount_Query();
        return;
    }
    showPanelsEnabled();
    setMode(QStringLiteral("1"));
    pEnabledBtn();
    paintPanelsButtonFace();
    pQuery();
    pClear();
}

void TfmBorvane::pDeleteCount_Query()
{
    WaitCursor wait;
    m_book.listRemainingLines(edDate->text(), branchIndex(), m_gridReturnKey);
}
