// Several workstations at once on the benchmark data: each a process of its
// own (tests/system/child/workstation.cpp) that saves, corrects and deletes
// vouchers of the ledger's newest dates for a bounded time through the entry
// window itself, one action every --pace-ms (default one a second; a list
// such as 1000,100 runs one session at each pace in turn). After each
// session the ledger is checked (no number shared, every line a balanced
// pair, everything each was told is stored) and the vouchers saved per
// second are reported, beside each action's wait as the clerk feels it:
// the window's handler from the button to its end, the list reloaded and
// the line located (count, p50, p95, p99 and the longest), and how long each
// held the voucher table's lock. A closing table puts p50 and p99 of every
// pace side by side with the goal (p99 under 50 ms) and a met column. The
// rows they wrote are removed.
//
//   bench_workstations --sqlite PATH | --odbc  [--workers N] [--seconds T] [--pace-ms P[,P...]]
//                      [--workstation PROGRAM]   (another build's, to compare two)

#include "benchcleanup.h"
#include "benchkit.h"
#include "ledgercheck.h"

#include "core/errors.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr double kWaitGoalMs = 50; // for the 99th percentile

const QStringList kActions = {QStringLiteral("save"), QStringLiteral("correct"), QStringLiteral("delete")};

// The milliseconds of the workstations' "<what> <action> <ms>" lines, by action.
std::map<QString, std::vector<double>> timesOf(const QStringList& reports, const QString& what)
{
    std::map<QString, std::vector<double>> times;
    for (const QString& line : reports) {
        const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
        if (f.size() == 3 && f[0] == what)
            times[f[1]].push_back(f[2].toDouble());
    }
    return times;
}

// One table of the workstations' times per action; with a goal, its column.
void printPercentiles(const QString& title, const QString& engine, const std::map<QString, std::vector<double>>& times,
                      bool withGoal)
{
    std::printf("\n%s\n", qPrintable(title));
    std::printf("%-9s %-8s %6s %8s %8s %8s %8s", "engine", "action", "count", "p50 ms", "p95 ms", "p99 ms", "max ms");
    std::printf(withGoal ? "  %-9s %s\n" : "\n", "goal", "met");
    for (const QString& action : kActions) {
        const auto it = times.find(action);
        const std::vector<double> none;
        const std::vector<double>& t = it == times.end() ? none : it->second;
        const double p99 = bench::percentile(t, 0.99);
        std::printf("%-9s %-8s %6zu %8.2f %8.2f %8.2f %8.2f", qPrintable(engine), qPrintable(action), t.size(),
                    bench::percentile(t, 0.50), bench::percentile(t, 0.95), p99, bench::percentile(t, 1.0));
        if (withGoal)
            std::printf("  p99<%-4.0f %s", kWaitGoalMs, !t.empty() && p99 < kWaitGoalMs ? "yes" : "NO");
        std::printf("\n");
    }
    std::fflush(stdout);
}

void removeWorkstationRows(store::Connection& c)
{
    bench::deleteLinesThroughTheBook(c, QStringLiteral("ac_text like 'ws%'"));
}

// The ledger's newest dates the workstations write on: two at least, and
// as many more as keep each date's new vouchers to about one working day's
// (the newest date's), so that the list every action reloads stays the size
// of a day's list. Ten actions a second from eight workstations for a minute
// save some 2,600 vouchers: on two dates, each date and branch's list grew
// from about 100 lines to 800, which no office's day holds.
QStringList recentDates(store::Connection& c, qint64 expectedSaves)
{
    QSqlQuery q(c.database());
    if (!q.exec(QStringLiteral("select distinct date_day from account_jen_AA order by date_day desc limit 100")))
        throw core::AppError(q.lastError().text());
    QStringList dates;
    while (q.next())
        dates << q.value(0).toString().trimmed();
    if (dates.size() < 2)
        throw core::AppError(QStringLiteral("the ledger holds fewer than two dates"));
    QSqlQuery day(c.database());
    day.prepare(QStringLiteral("select count(distinct serial_jen) from account_jen_AA where date_day = ?"));
    day.addBindValue(dates.first());
    if (!day.exec() || !day.next())
        throw core::AppError(day.lastError().text());
    const qint64 perDay = std::max<qint64>(1, day.value(0).toLongLong());
    const qsizetype wanted = std::clamp<qsizetype>((expectedSaves + perDay - 1) / perDay, 2, dates.size());
    return dates.mid(0, wanted);
}

// What one session at one pace gives: the workstations' report lines and
// whether every workstation finished and the ledger held.
struct Session {
    QStringList reports;
    bool ok = false;
};

Session runSession(bench::Target& target, const QStringList& args, int workers, int seconds, int paceMs)
{
    store::Connection& c = *target.connection;
    removeWorkstationRows(c); // left by a run that did not finish
    // A little over half the actions are saves (workstation.cpp).
    const qint64 expectedSaves = qint64(workers) * seconds * 1000 / paceMs * 55 / 100;
    const QStringList dateList = recentDates(c, expectedSaves);
    const QString dates = dateList.join(u',');

    QStringList where = target.engine == QLatin1String("sqlite")
                            ? QStringList{QStringLiteral("--sqlite"), bench::option(args, QStringLiteral("--sqlite"))}
                            : QStringList{QStringLiteral("--odbc")};
    const QString program = bench::option(args, QStringLiteral("--workstation"), QStringLiteral(WORKSTATION_PROGRAM));
    const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 3000; // each window made and shown first
    std::vector<std::unique_ptr<QProcess>> stations;
    for (int k = 0; k < workers; ++k) {
        auto p = std::make_unique<QProcess>();
        p->start(program, where + QStringList{QStringLiteral("--worker"), QString::number(k), QStringLiteral("--seconds"),
                                              QString::number(seconds), QStringLiteral("--dates"), dates,
                                              QStringLiteral("--start-at"), QString::number(startAt),
                                              QStringLiteral("--pace-ms"), QString::number(paceMs)});
        if (!p->waitForStarted(10000))
            throw core::AppError(p->errorString());
        stations.push_back(std::move(p));
    }
    Session session;
    bool allDone = true;
    for (auto& p : stations) {
        allDone = p->waitForFinished((seconds + 120) * 1000) && p->exitCode() == 0 && allDone;
        session.reports << QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }
    const LedgerReport r = checkLedger(c, session.reports);
    removeWorkstationRows(c);
    session.ok = allDone && r.problems.isEmpty();

    std::vector<bench::Figure> figures;
    figures.push_back({target.engine,
                       QStringLiteral("%1 workstations, one action each %2 ms, %3 s, %4 dates %5 to %6")
                           .arg(workers)
                           .arg(paceMs)
                           .arg(seconds)
                           .arg(dateList.size())
                           .arg(dateList.last(), dateList.first()),
                       -1, -1, -1, -1, -1,
                       QStringLiteral("%1 vouchers saved (%2 a second), %3 lines corrected, %4 deleted; "
                                      "%5 refused; %6 problems")
                           .arg(r.saved)
                           .arg(r.saved / double(seconds), 0, 'f', 1)
                           .arg(r.corrected)
                           .arg(r.deleted)
                           .arg(r.errors)
                           .arg(r.problems.size()),
                       !session.ok});
    bench::printTable(QStringLiteral("Workstations on %1, one action each %2 ms").arg(target.engine).arg(paceMs), figures);
    for (const QString& problem : r.problems.mid(0, 20))
        std::printf("  problem: %s\n", qPrintable(problem));
    printPercentiles(QStringLiteral("Waits of the clerk on %1 at one action each %2 ms (the window's handler from the "
                                    "button to its end: list reloaded, line located, lock waits and retries included)")
                         .arg(target.engine)
                         .arg(paceMs),
                     target.engine, timesOf(session.reports, QStringLiteral("waited")), true);
    printPercentiles(QStringLiteral("The voucher table's lock held on %1 (taken to released)").arg(target.engine),
                     target.engine, timesOf(session.reports, QStringLiteral("held")), false);
    return session;
}

// p50 and p99 of each action at every pace, with the goal on p99.
void printRates(const QString& engine, int workers, const std::map<int, Session>& sessions)
{
    std::printf("\nThe clerk's wait by rate on %s, %d workstations (the window's handler, ms)\n", qPrintable(engine),
                workers);
    std::printf("%-9s %-14s %-8s %6s %8s %8s  %-9s %s\n", "engine", "per station", "action", "count", "p50 ms", "p99 ms",
                "goal", "met");
    for (auto it = sessions.rbegin(); it != sessions.rend(); ++it) {
        const auto times = timesOf(it->second.reports, QStringLiteral("waited"));
        for (const QString& action : kActions) {
            const auto found = times.find(action);
            const std::vector<double> t = found == times.end() ? std::vector<double>{} : found->second;
            const double p99 = bench::percentile(t, 0.99);
            std::printf("%-9s %-14s %-8s %6zu %8.2f %8.2f  p99<%-4.0f %s\n", qPrintable(engine),
                        qPrintable(QStringLiteral("%1 a second").arg(1000.0 / it->first, 0, 'g', 3)),
                        qPrintable(action), t.size(), bench::percentile(t, 0.50), p99, kWaitGoalMs,
                        !t.empty() && p99 < kWaitGoalMs && it->second.ok ? "yes" : "NO");
        }
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        bench::Target target = bench::openTarget(args);
        const int workers = bench::intOption(args, QStringLiteral("--workers"), target.engine == QLatin1String("sqlite") ? 4 : 8);
        const int seconds = bench::intOption(args, QStringLiteral("--seconds"), 20);
        std::map<int, Session> sessions; // by pace
        bool ok = true;
        for (const QString& pace : bench::option(args, QStringLiteral("--pace-ms"), QStringLiteral("1000")).split(u',')) {
            const int paceMs = pace.toInt();
            if (paceMs <= 0)
                throw core::AppError(QStringLiteral("--pace-ms: milliseconds above 0, separated by commas"));
            sessions[paceMs] = runSession(target, args, workers, seconds, paceMs);
            ok = sessions[paceMs].ok && ok;
        }
        printRates(target.engine, workers, sessions);
        return ok ? 0 : 1;
    } catch (const core::AppError& e) {
        std::fprintf(stderr, "bench_workstations: %s\n", e.what());
        return 1;
    }
}
