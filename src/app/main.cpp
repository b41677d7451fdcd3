#include "app/errorreport.h"
#include "entry/borvane.h"
#include "lookup/lookupforms.h"
#include "shell/application.h"
#include "shell/singleinstance.h"
#include "store/datasource.h"

#include <QMessageBox>
#include <cstdio>

namespace {

// A line on stderr for tests that watch two copies meet (VOUCHER_INSTANCE_TRACE).
void trace(const char* line)
{
    static const bool on = !qEnvironmentVariableIsEmpty("VOUCHER_INSTANCE_TRACE");
    if (on) {
        std::fprintf(stderr, "voucher: %s\n", line);
        std::fflush(stderr);
    }
}

} // namespace

int main(int argc, char** argv)
{
    VoucherApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false); // closing the entry window ends the program

    // A second start hands the focus to the running copy and ends.
    SingleInstance instance(instanceNameFromPath(QString::fromLocal8Bit(argv[0])));
    if (!instance.claim()) {
        if (instance.askRunningCopyForward()) {
            trace("handed over to the running copy");
            return 0;
        }
        trace("no running copy answered; starting anyway");
    }

    try {
        store::Connection::setAccount(store::resolveAccount());
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, VoucherApplication::programTitle(), errorReportText(error));
        return 1;
    }

    // The windows in their creation order; all live until the program ends.
    // The print form is made afresh for each printed voucher (PrintBtnClick).
    TfmBorvane fmBorvane;
    TForm1 Form1(&fmBorvane);
    TForm2 Form2(&fmBorvane);
    TForm3 Form3(&fmBorvane);
    TForm4 Form4(&fmBorvane);
    TForm5 Form5(&fmBorvane);
    TForm6 Form6(&fmBorvane);
    fmBorvane.setLookupDialogs({&Form1, &Form2, &Form3, &Form4, &Form5, &Form6});

    QObject::connect(&fmBorvane, &TfmBorvane::formClosed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&instance, &SingleInstance::comeForwardRequested, &fmBorvane, [&fmBorvane] {
        const bool wasMinimised = fmBorvane.isMinimized();
        bringToFront(&fmBorvane);
        trace(wasMinimised ? "came forward (restored from minimised)" : "came forward");
    });

    fmBorvane.show();
    trace("running");
    return app.exec();
}
