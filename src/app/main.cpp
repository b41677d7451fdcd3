#include "app/errorreport.h"
#include "entry/borvane.h"
#include "lookup/lookupforms.h"
#include "shell/application.h"
#include "shell/singleinstance.h"
#include "store/datasource.h"

#include <QEvent>
#include <QFile>
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

// VOUCHER_STARTUP_PROBE: the first paint of the entry window prints one line
// with the peak memory so far ("shown VmHWM=<kB>") and ends the program, so
// that a benchmark can time the start-up from the outside.
class StartupProbe : public QObject {
public:
    static void watch(QWidget* window)
    {
        if (!qEnvironmentVariableIsEmpty("VOUCHER_STARTUP_PROBE"))
            window->installEventFilter(new StartupProbe(window));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(this, [] {
                std::printf("shown VmHWM=%s\n", peakMemory().constData());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    explicit StartupProbe(QObject* parent) : QObject(parent) {}

    static QByteArray peakMemory()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith("VmHWM:"))
                    return line.mid(6).simplified().split(' ').value(0);
            }
        }
        return "?";
    }

    bool m_seen = false;
};

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

    StartupProbe::watch(&fmBorvane);
    fmBorvane.show();
    trace("running");
    return app.exec();
}
