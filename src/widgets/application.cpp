#include "application.h"

#include "core/errorreport.h"
#include "widgets/altchord.h"
#include "widgets/messages.h"
#include "widgets/waitcursor.h"

#include <QFont>
#include <QMessageBox>

namespace widgets {

VoucherApplication::VoucherApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The windows ask for the Korean system font of their home platform;
    // here it is served by Nanum Gothic.
    QFont::insertSubstitution(QStringLiteral("굴림"), QStringLiteral("NanumGothic"));
    core::setErrorReport(&VoucherApplication::showErrorReport);
    installEventFilter(new AltChordFilter(this));
}

bool VoucherApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showErrorReport(core::errorReportText(error));
    } catch (...) {
        showErrorReport(QStringLiteral("알 수 없는 오류가 발생했습니다."));
    }
    return true;
}

void VoucherApplication::showErrorReport(const QString& text)
{
    restoreAllCursors();
    QMessageBox box(QMessageBox::Critical, kProgramName, text, QMessageBox::Ok, activeWindow());
    box.exec();
}

} // namespace widgets
