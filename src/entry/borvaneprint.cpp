#include "borvane.h"

#include "branchcombo.h"
#include "messages.h"
#include "print/printflow.h"

#include <QFrame>
#include <QLineEdit>

void TfmBorvane::PrintBtnClick()
{
    if (Query1.isEmpty()) {
        warningBox(this, kNoDataMessage);
        Panel7->setFocus();
        return;
    }
    if (edSerial->text().isEmpty()) {
        warningBox(this, QStringLiteral("그리드의 레코드를 선택하세요...."));
        return;
    }
    const PrintRequest request{edDate->text(), branchIndex(), cbKubun->currentText(), edSerial->text()};
    if (showVoucherPrint(request, this))
        edSerial->clear();
}
