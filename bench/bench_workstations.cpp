// Several workstations at once on the benchmark data: each a process of its
// own (tests/system/child/workstation.cpp) that saves, corrects and deletes
// vouchers of the same two dates for a bounded time through the entry
// window's rows code. Afterwards the ledger is checked (no number shared,
// every line a balanced pair, everything each was told is stored) and the
// vouchers saved per second are reported. The rows they wrote are removed.
//
//   bench_workstations --sqlite PATH | --odbc  [--workers N] [--seconds T]

#include "benchkit.h"
#include "ledgercheck.h"
#include "samplevoucher.h"

#include "core/errors.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QSqlQuery>
#include <cstdio>
#include <memory>

namespace {

void removeWorkstationRows(store::Connection& c)
{
    c.execNative(QStringLiteral("delete from account_jen_AA where ac_text like 'ws%'"));
}

QString dayBefore(store::Connection& c, const QString& date)
{
    QSqlQuery q(c.database());
    q.prepare(QStringLiteral("select max(date_day) from account_jen_AA where date_day < ?"));
    q.addBindValue(date);
    if (!q.exec() || !q.next())
        throw AppError(QStringLiteral("no date before %1").arg(date));
    return q.value(0).toString().trimmed();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        bench::Target target = bench::openTarget(args);
        store::Connection& c = *target.connection;
        const int workers = bench::intOption(args, QStringLiteral("--workers"), target.engine == QLatin1String("sqlite") ? 4 : 8);
        const int seconds = bench::intOption(args, QStringLiteral("--seconds"), 20);
        removeWorkstationRows(c); // left by a run that did not finish
        const QString newest = bench::findSampleVoucher(c).date;
        const QString dates = newest + u',' + dayBefore(c, newest);

        QStringList where = target.engine == QLatin1String("sqlite")
                                ? QStringList{QStringLiteral("--sqlite"), bench::option(args, QStringLiteral("--sqlite"))}
                                : QStringList{QStringLiteral("--odbc")};
        const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 2000;
        std::vector<std::unique_ptr<QProcess>> stations;
        for (int k = 0; k < workers; ++k) {
            auto p = std::make_unique<QProcess>();
            p->start(QStringLiteral(WORKSTATION_PROGRAM),
                     where + QStringList{QStringLiteral("--worker"), QString::number(k), QStringLiteral("--seconds"),
                                         QString::number(seconds), QStringLiteral("--dates"), dates,
                                         QStringLiteral("--start-at"), QString::number(startAt)});
            if (!p->waitForStarted(10000))
                throw AppError(p->errorString());
            stations.push_back(std::move(p));
        }
        QStringList reports;
        bool allDone = true;
        for (auto& p : stations) {
            allDone = p->waitForFinished((seconds + 120) * 1000) && p->exitCode() == 0 && allDone;
            reports << QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        }
        const LedgerReport r = checkLedger(c, reports);
        removeWorkstationRows(c);

        std::vector<bench::Figure> figures;
        figures.push_back({target.engine,
                           QStringLiteral("%1 workstations, %2 s, dates %3").arg(workers).arg(seconds).arg(dates),
                           -1, -1, -1, -1, -1,
                           QStringLiteral("%1 vouchers saved (%2 a second), %3 lines corrected, %4 deleted; "
                                          "%5 refused; %6 problems")
                               .arg(r.saved)
                               .arg(r.saved / double(seconds), 0, 'f', 1)
                               .arg(r.corrected)
                               .arg(r.deleted)
                               .arg(r.errors)
                               .arg(r.problems.size()),
                           !allDone || !r.problems.isEmpty()});
        bench::printTable(QStringLiteral("Workstations on %1").arg(target.engine), figures);
        for (const QString& problem : r.problems.mid(0, 20))
            std::printf("  problem: %s\n", qPrintable(problem));
        return allDone && r.problems.isEmpty() ? 0 : 1;
    } catch (const AppError& e) {
        std::fprintf(stderr, "bench_workstations: %s\n", e.what());
        return 1;
    }
}
