// The peak memory of a clerk's whole run of the entry window: the windows as
// the program makes them, a voucher of the newest busy date loaded, each of
// the six lookups opened with its empty search, and the print preview of that
// voucher open. Prints "peak VmHWM=<kB>" and ends; bench_startup prints it
// beside the start-up.
//
//   bench_clerkrun --sqlite PATH | --odbc

#include "benchkit.h"
#include "samplevoucher.h"

#include "borvaneprobe.h"
#include "core/errors.h"
#include "lookup/lookupforms.h"
#include "print/printflow.h"
#include "print/printrequest.h"
#include "widgets/application.h"
#include "widgets/branchcombo.h"

#include <QPrintPreviewDialog>
#include <QTimer>
#include <cstdio>

namespace {

qint64 runAsTheClerk()
{
    store::Connection& c = store::Connection::account();
    const bench::SampleVoucher sample = bench::findSampleVoucher(c);

    entry::TfmBorvane window;
    lookup::TForm1 form1{&window};
    lookup::TForm2 form2{&window};
    lookup::TForm3 form3{&window};
    lookup::TForm4 form4{&window};
    lookup::TForm5 form5{&window};
    lookup::TForm6 form6{&window};
    window.setLookupDialogs({&form1, &form2, &form3, &form4, &form5, &form6});
    window.show();
    QCoreApplication::processEvents();

    BorvaneProbe w{window};
    w.setDate(sample.date);
    w.chooseBranch(sample.branch);
    w.pQuery();
    if (!w.chooseListRow(sample.serialJen, sample.serialBun))
        throw core::AppError(QStringLiteral("the sample voucher is not listed"));
    QCoreApplication::processEvents();

    for (lookup::LookupDialog* lookup : std::initializer_list<lookup::LookupDialog*>{&form1, &form2, &form3, &form4, &form5, &form6}) {
        lookup->prepareFor(1, QString());
        lookup->runSearch();
        lookup->showLookup();
        QCoreApplication::processEvents();
        lookup->hide();
    }

    // The preview is modal: measured while it shows, then closed.
    qint64 peakKb = -1;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            QCoreApplication::processEvents(); // its pages drawn
            peakKb = bench::peakMemoryKb();
            preview->reject();
        }
    });
    watch.start();
    const auto* branches = window.findChild<widgets::BranchCombo*>(QStringLiteral("cbKubun"));
    if (!print::showVoucherPrint({sample.date, sample.branch, branches ? branches->currentText() : QString(), sample.serialJen},
                          &window))
        throw core::AppError(QStringLiteral("the sample voucher printed no row"));
    return peakKb;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    widgets::VoucherApplication app(argc, argv);
    try {
        bench::Target target = bench::openTarget(app.arguments());
        store::Connection::setAccount(std::move(target.connection));
        const qint64 peakKb = runAsTheClerk();
        if (peakKb < 0)
            throw core::AppError(QStringLiteral("the print preview did not show"));
        std::printf("peak VmHWM=%lld\n", peakKb);
    } catch (const core::AppError& e) {
        std::fprintf(stderr, "bench_clerkrun: %s\n", e.what());
        return 1;
    }
    return 0;
}
