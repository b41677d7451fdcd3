#pragma once

#include <QApplication>

namespace widgets {

// The program's application object. An error that escapes a handler (an
// engine error, a failed number conversion) is shown in a message box with
// its text, and the program goes on with the state the handler had reached;
// every hourglass still shown is put back first. An Alt chord that is no
// accelerator types nothing in any window (widgets/altchord.h).
class VoucherApplication : public QApplication {
    Q_OBJECT
public:
    VoucherApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The error report box: the program's name, an error icon, OK.
    static void showErrorReport(const QString& text);
};

} // namespace widgets
