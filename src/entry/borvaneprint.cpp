#include "borvane.h"

#include "core/errors.h"
#include "widgets/branchcombo.h"
#include "widgets/messages.h"

#include <QFrame>
#include <QLineEdit>

namespace entry {

void TfmBorvane::PrintBtnClick()
{
    if (warnWhenListEmpty())
        return;
    if (edSerial->text().isEmpty()) {
        widgets::warningBox(this, QStringLiteral("그리드의 레코드를 선택하세요...."));
        return;
    }
    const print::PrintRequest request{edDate->text(), branchIndex(), cbKubun->currentText(), edSerial->text()};
    if (!m_printer)
        throw core::AppError(QStringLiteral("인쇄할 수 없습니다: 출력 기능이 연결되지 않았습니다."));
    if (m_printer(request, this))
        edSerial->clear();
}

} // namespace entry
