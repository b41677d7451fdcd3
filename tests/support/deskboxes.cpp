#include "deskboxes.h"

#include <QTest>
#include <QWidget>

namespace testdesk {

void DesktopBoxes::answered(QWidget* owner)
{
    if (owner) {
        owner->activateWindow();
        if (!QTest::qWaitForWindowActive(owner))
            qWarning("the window did not become active again after its message box");
    }
}

} // namespace testdesk
