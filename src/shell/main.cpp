#include "entry/borvane.h"
#include "lookup/lookupforms.h"
#include "print/printflow.h"
#include "schema/datasource.h"
#include "schema/schema.h"
#include "widgets/application.h"
#include "shell/dailybackup.h"
#include "shell/firstpaint.h"
#include "shell/singleinstance.h"
#include "widgets/hangulinput.h"
#include "widgets/messages.h"

#include <QFile>
#include <QMessageBox>
#include <cstdio>
#include <cstring>
#include <utility>

namespace shell {
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
void watchForStartupProbe(QWidget* window)
{
    if (qEnvironmentVariableIsEmpty("VOUCHER_STARTUP_PROBE"))
        return;
    afterFirstPaint(window, [] {
        QByteArray peak = "?";
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : status.readAll().split('\n'))
                if (line.startsWith("VmHWM:"))
                    peak = line.mid(6).simplified().split(' ').value(0);
        }
        std::printf("shown VmHWM=%s\n", peak.constData());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}

// The manual page is made from this text (help2man) when the package is built.
constexpr char kUsage[] = R"(Usage: voucher [options]
출금 전표를 입력하고 저장하고 인쇄하는 창을 엽니다.

데이터 원본: ODBC 데이터 원본 Account가 등록되어 있으면 그것을 쓰고(PostgreSQL
또는 SQL Server), 없으면 사용자 데이터 폴더의 SQLite 파일
~/.local/share/voucher/Account.db를 씁니다(처음 쓸 때 만듭니다). 날마다 그 옆의
backup 폴더에 백업을 남깁니다. 데이터 원본의 준비, 마스터 테이블의 가져오기,
백업과 되살리기는 voucher-admin으로 합니다.

이미 실행 중이면 그 창을 앞으로 불러오고 끝납니다.

Options:
  -h, --help     이 도움말을 보여 줍니다.
  Qt의 표준 옵션(-platform, -style, -display 등)도 받습니다.
)";

// Only a request for help is looked at before the start, which it would
// otherwise slow down; every other argument goes to Qt as before.
bool asksForHelp(int argc, char** argv)
{
    return argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
}

} // namespace

// The program from its arguments to the exit code of its event loop.
int runProgram(int argc, char** argv)
{
    if (asksForHelp(argc, argv)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // A second start hands the focus to the running copy and ends. The guard
    // is checked before the application object, whose start (display, fonts)
    // a copy that only hands over would pay for nothing.
    SingleInstance instance(instanceNameFromPath(QString::fromLocal8Bit(argv[0])));
    if (!instance.takeLock()) {
        // voucher-admin is restoring the books: there is no copy to come
        // forward, and the clerk would otherwise see nothing happen.
        if (instance.heldByRestore()) {
            const widgets::VoucherApplication toldToWait(argc, argv);
            trace("a restore holds the books");
            tellRestoreUnderway();
            return 0;
        }
        const QCoreApplication handOver(argc, argv); // the socket's wait, without a display
        if (instance.askRunningCopyForward()) {
            trace("handed over to the running copy");
            return 0;
        }
        trace("no running copy answered; starting anyway");
    }

    widgets::VoucherApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false); // closing the entry window ends the program
    instance.listen();

    // A data source that fails reaches the window's first statement and the
    // error report like any handler's error, and the next action that needs
    // the database tries again.
    store::Connection::setAccount(schema::resolveAccount());
    // The connections close as main ends, after the windows whose statements
    // use them and before the application object. Closed by the static
    // destructors once main had returned, a server's connection crashed the
    // program on its way out.
    struct ClosesTheDataSource {
        ~ClosesTheDataSource() { store::Connection::setAccount(nullptr); }
    } const closesTheDataSource;
    // One line naming the data source once it is open, so that a workstation
    // on the wrong one shows it in a terminal and in the desktop's journal.
    store::Connection::account().addAfterOpening([](store::Connection& c) {
        static bool told = false;
        if (!std::exchange(told, true))
            std::fprintf(stderr, "voucher: 데이터 원본: %s\n", c.describe().toUtf8().constData());
    });
    // The data source opens (the driver loads, the server answers) while the
    // window is built; the window's first statement waits for it and meets
    // its error, if any. The list's question whether the voucher table keeps
    // its key widths is asked there too.
    store::Connection::account().openAhead([](store::Connection& c) { schema::keyWidthsEnforced(c); });

    // The windows in their creation order; all live until the program ends.
    // Form1..Form6 are made right after the entry window first shows (or
    // earlier, should the window want one first): the clerk sees the window
    // without waiting for six dialogs that are not on the screen yet.
    // The print form is made afresh for each printed voucher (PrintBtnClick).
    entry::TfmBorvane fmBorvane;
    std::unique_ptr<lookup::TForm1> Form1;
    std::unique_ptr<lookup::TForm2> Form2;
    std::unique_ptr<lookup::TForm3> Form3;
    std::unique_ptr<lookup::TForm4> Form4;
    std::unique_ptr<lookup::TForm5> Form5;
    std::unique_ptr<lookup::TForm6> Form6;
    fmBorvane.setLookupDialogMaker([&]() -> std::array<lookup::LookupDialog*, voucher::kNameKinds> {
        Form1 = std::make_unique<lookup::TForm1>(&fmBorvane);
        Form2 = std::make_unique<lookup::TForm2>(&fmBorvane);
        Form3 = std::make_unique<lookup::TForm3>(&fmBorvane);
        Form4 = std::make_unique<lookup::TForm4>(&fmBorvane);
        Form5 = std::make_unique<lookup::TForm5>(&fmBorvane);
        Form6 = std::make_unique<lookup::TForm6>(&fmBorvane);
        return {Form1.get(), Form2.get(), Form3.get(), Form4.get(), Form5.get(), Form6.get()};
    });

    QObject::connect(&fmBorvane, &entry::TfmBorvane::formClosed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&instance, &SingleInstance::comeForwardRequested, &fmBorvane, [&fmBorvane] {
        const bool wasMinimised = fmBorvane.isMinimized();
        bringToFront(&fmBorvane);
        trace(wasMinimised ? "came forward (restored from minimised)" : "came forward");
    });

    fmBorvane.setVoucherPrinter(print::showVoucherPrint);
    watchForStartupProbe(&fmBorvane);
    afterFirstPaint(&fmBorvane, [&fmBorvane] {
        fmBorvane.makeLookupDialogs();
        widgets::HangulInput::instance().start();
    });
    keepDailyBackup(&fmBorvane);
    fmBorvane.show();
    // A file that can only be read: the clerk learns it now, not at Save.
    if (const QString notice = store::Connection::account().readOnlyNotice(); !notice.isEmpty()) {
        std::fprintf(stderr, "voucher: %s\n", notice.toUtf8().constData());
        afterFirstPaint(&fmBorvane, [&fmBorvane, notice] {
            auto* box = new QMessageBox(QMessageBox::Warning, widgets::kProgramName, notice,
                                        QMessageBox::Ok, &fmBorvane);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        });
    }
    trace("running");
    const int exitCode = app.exec();
    instance.release();
    finishDailyBackup();
    return exitCode;
}

} // namespace shell

int main(int argc, char** argv)
{
    return shell::runProgram(argc, argv);
}
