// Times the program's start-up on the benchmark data, from the process start
// to the first paint of the entry window (VOUCHER_STARTUP_PROBE), against
// the smallest Qt program showing an empty window; both under the offscreen
// platform, started alternately (each first in its loop in turn), the median
// of N starts each. Then the same under a private Xvfb, to the first Expose
// of the window as the X server reports it (xscreen.h), against the window
// with one Korean label.
// Beside them, the peak memory of a clerk's whole run (bench_clerkrun).
// Every start gets a runtime and temporary folder of its own run, so that
// the single-instance lock of a copy running elsewhere is not met.
// With --baseline, another build of the program starts in turn with this
// one in the same loops, so that a change is measured against what it
// changes under the same load of the machine.
//
//   bench_startup --sqlite PATH | --odbc  [--runs N] [--label NAME] [--start-only] [--baseline PROGRAM]
//                 [--tiny PATH]
//
// For --sqlite the program finds PATH as its embedded database: PATH must be
// <dir>/voucher/Account.db, and the program runs with XDG_DATA_HOME=<dir>
// and an ODBC configuration without the data source Account. For --odbc it
// uses the data source Account of $ODBCINI; given with --sqlite too, the
// starts under Xvfb are also made on the server. With --tiny (a new demo file,
// laid out as for --sqlite) the starts under Xvfb are also made on it, and
// each data source is held to it.

#include "benchkit.h"
#include "core/errors.h"
#include "store/backupstate.h"
#include "store/dailybackups.h"
#ifdef VOUCHER_XSCREEN
#include "xscreen.h"
#endif

#include <QCoreApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// A start on the big data against the same start on a tiny file: what the
// data costs the clerk at start-up.
constexpr double kDataFactor = 1.2;

struct Start {
    double ms = -1;
    qint64 peakKb = -1;
};

// A display for the starts: `started` runs right after the start, on the
// timer started with it; `serve` while the program runs (the programs wait
// for the window manager's answers to the end).
struct Display {
    std::function<void(const QElapsedTimer&)> started;
    std::function<void()> serve;
};

Start startOnce(const QString& program, const QProcessEnvironment& env, const QStringList& arguments = {},
                const Display& display = {})
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer timer;
    timer.start();
    p.start(program, arguments);
    Start s;
    if (display.started)
        display.started(timer);
    // Short waits when a display is served between them; the line ends a
    // wait as soon as it comes either way.
    const int step = display.serve ? 1 : 30000;
    QByteArray out;
    while (timer.elapsed() < 30000 && p.state() != QProcess::NotRunning) {
        if (p.waitForReadyRead(step)) {
            out += p.readAllStandardOutput();
            if (out.contains('\n'))
                break;
        }
        if (display.serve)
            display.serve();
    }
    const double elapsed = timer.nsecsElapsed() / 1e6;
    out += p.readAllStandardOutput();
    if (out.startsWith("shown VmHWM=")) {
        s.ms = elapsed;
        s.peakKb = out.mid(12).trimmed().toLongLong();
    } else {
        std::fprintf(stderr, "%s did not show its window: %s %s\n", qPrintable(program), out.constData(),
                     p.readAllStandardError().constData());
    }
    QDeadlineTimer ending(10000);
    while (!p.waitForFinished(display.serve ? 1 : 10000) && !ending.hasExpired())
        if (display.serve)
            display.serve();
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(5000);
    }
    return s;
}

// Runs the starts of one loop, the loop's number deciding which comes first:
// the first start of a loop was measured slower than the same program
// started second (about 2 ms), which must not fall on one program alone.
void inTurn(std::vector<std::function<void()>> starts, int loop)
{
    std::rotate(starts.begin(), starts.begin() + loop % int(starts.size()), starts.end());
    for (const std::function<void()>& start : starts)
        start();
}

// The timed starts are a day's later starts, as most of the clerk's are:
// today's backup of the file is made once before them. Without it every
// start begins that backup after its first paint and gives it up on its way
// out, and the next start shares the machine with a gigabyte of writes that
// no start of the clerk's follows. The program keeps the last seven.
bool haveTodaysBackup(const QString& path)
{
    try {
        store::makeDailyBackups(path, QDateTime::currentDateTime(), store::DailyMoment::Start);
        for (const QString& place : store::backupPlaces(path))
            if (const QString error = store::backupRecord(path, place).error; !error.isEmpty())
                throw core::AppError(error);
        return true;
    } catch (const core::AppError& e) {
        std::fprintf(stderr, "bench_startup: today's backup of %s: %s\n", qPrintable(path), qPrintable(e.text()));
        return false;
    }
}

// The environment in which the program finds the file at path as its
// embedded database, with no data source Account beside it; today's backup
// of the file made.
bool onSqliteFile(QProcessEnvironment& env, const QString& path, const QString& noOdbc)
{
    const QFileInfo file(path);
    if (file.fileName() != QLatin1String("Account.db") || file.dir().dirName() != QLatin1String("voucher")) {
        std::fprintf(stderr, "bench_startup: the SQLite file must be <dir>/voucher/Account.db\n");
        return false;
    }
    // A missing file would be made by the program as a small demo file
    // and measured as if it were the data asked for.
    if (!file.isFile()) {
        std::fprintf(stderr, "bench_startup: %s does not exist\n", qPrintable(path));
        return false;
    }
    if (!haveTodaysBackup(file.absoluteFilePath()))
        return false;
    QDir data = file.absoluteDir();
    data.cdUp();
    env.insert(QStringLiteral("XDG_DATA_HOME"), data.absolutePath());
    env.insert(QStringLiteral("ODBCSYSINI"), noOdbc);
    env.insert(QStringLiteral("ODBCINI"), QDir(noOdbc).filePath(QStringLiteral("odbc.ini")));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = bench::intOption(args, QStringLiteral("--runs"), 11);
    const QString path = bench::option(args, QStringLiteral("--sqlite"));
    const QString baseline = bench::option(args, QStringLiteral("--baseline"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VOUCHER_STARTUP_PROBE"), QStringLiteral("1"));
    QString engine = QStringLiteral("postgres");
    QTemporaryDir noOdbc;
    // The single-instance lock and socket of these runs, away from any other copy.
    QTemporaryDir runtime;
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("TMPDIR"), runtime.path());
    // Beside the file asked for, the same starts on a server and on a tiny
    // file, in the same loops under Xvfb.
    QProcessEnvironment serverEnv, tinyEnv;
    if (!path.isEmpty()) {
        if (args.contains(QStringLiteral("--odbc")))
            serverEnv = env;
        engine = QStringLiteral("sqlite");
        if (!onSqliteFile(env, path, noOdbc.path()))
            return 1;
    } else if (!args.contains(QStringLiteral("--odbc"))) {
        std::fprintf(stderr, "bench_startup: give --sqlite PATH or --odbc\n");
        return 2;
    }
    if (const QString tiny = bench::option(args, QStringLiteral("--tiny")); !tiny.isEmpty()) {
        tinyEnv = env;
        if (!onSqliteFile(tinyEnv, tiny, noOdbc.path()))
            return 1;
    }

    std::vector<double> program, empty, labelled, base;
    std::vector<double> programPeak, emptyPeak;
    for (int i = 0; i <= runs; ++i) {
        Start p, b{0, 0}, e, l;
        std::vector<std::function<void()>> starts = {
            [&] { p = startOnce(QStringLiteral(VOUCHER_PROGRAM), env); },
            [&] { e = startOnce(QStringLiteral(EMPTY_WINDOW), env); },
            [&] { l = startOnce(QStringLiteral(EMPTY_WINDOW), env, {QStringLiteral("--korean-label")}); },
        };
        if (!baseline.isEmpty())
            starts.insert(starts.begin() + 1, [&] { b = startOnce(baseline, env); });
        inTurn(std::move(starts), i);
        if (p.ms < 0 || b.ms < 0 || e.ms < 0 || l.ms < 0)
            return 1;
        if (i == 0)
            continue; // warm-up: libraries and data into the page cache
        program.push_back(p.ms);
        base.push_back(b.ms);
        empty.push_back(e.ms);
        labelled.push_back(l.ms);
        programPeak.push_back(p.peakKb);
        emptyPeak.push_back(e.peakKb);
    }
    // A clerk's whole run: six lookups opened, one print preview (data with
    // vouchers; --start-only leaves it out).
    double clerkPeakKb = -1;
    if (!args.contains(QStringLiteral("--start-only"))) {
        QProcess clerk;
        clerk.setProcessEnvironment(env);
        clerk.start(QStringLiteral(CLERK_RUN), path.isEmpty() ? QStringList{QStringLiteral("--odbc")}
                                                             : QStringList{QStringLiteral("--sqlite"), path});
        const bool clerkRan = clerk.waitForFinished(120000) && clerk.exitCode() == 0;
        const QByteArray clerkOut = clerk.readAllStandardOutput();
        clerkPeakKb = clerkOut.startsWith("peak VmHWM=") ? clerkOut.mid(11).trimmed().toDouble() : -1;
        if (!clerkRan || clerkPeakKb < 0) {
            std::fprintf(stderr, "bench_startup: the clerk's run failed: %s\n", clerk.readAllStandardError().constData());
            return 1;
        }
    }

    engine = bench::option(args, QStringLiteral("--label"), engine);
    std::vector<bench::Figure> figures;
    figures.push_back({engine, QStringLiteral("start-up to the shown entry window"), bench::median(program), -1,
                       bench::median(empty), -1, 2, QStringLiteral("floor: the empty Qt window")});
    figures.push_back({engine, QStringLiteral("start-up, against a window with one Korean label"), bench::median(program),
                       -1, bench::median(labelled), -1, -1,
                       QStringLiteral("floor: the empty window with one line of Korean text")});
    const QString baselineNote = QStringLiteral("baseline %1; floor: the Korean label").arg(baseline);
    if (!baseline.isEmpty())
        figures.push_back({engine, QStringLiteral("baseline start-up, against the Korean label"), bench::median(base),
                           -1, bench::median(labelled), -1, -1, baselineNote});
    figures.push_back({engine, QStringLiteral("peak memory at start-up (VmHWM)"), -1, -1, -1, -1, -1,
                       QStringLiteral("program %1 MB, empty window %2 MB")
                           .arg(bench::median(programPeak) / 1024.0, 0, 'f', 1)
                           .arg(bench::median(emptyPeak) / 1024.0, 0, 'f', 1)});
    if (clerkPeakKb >= 0)
        figures.push_back({engine, QStringLiteral("peak memory of a whole run (VmHWM)"), -1, -1, -1, -1, -1,
                           QStringLiteral("%1 MB: a voucher loaded, six lookups opened, one print preview")
                               .arg(clerkPeakKb / 1024.0, 0, 'f', 1)});
#ifdef VOUCHER_XSCREEN
    XScreen screen;
    if (!screen.ready()) {
        std::fprintf(stderr, "bench_startup: no start-up under Xvfb: %s\n", qPrintable(screen.why()));
    } else {
        QProcessEnvironment x = env;
        x.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        x.insert(QStringLiteral("DISPLAY"), screen.display());
        const auto underXvfb = [&](QProcessEnvironment e) {
            e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            e.insert(QStringLiteral("DISPLAY"), screen.display());
            return e;
        };
            // Each start of a loop in turn, each one's first Expose and its probe's line.
        struct Contender {
            QString program;
            QStringList arguments;
            QProcessEnvironment env;
            std::vector<double> exposed, painted;
        };
        std::vector<Contender> contenders{{QStringLiteral(VOUCHER_PROGRAM), {}, x, {}, {}},
                                          {QStringLiteral(EMPTY_WINDOW), {QStringLiteral("--korean-label")}, x, {}, {}}};
        const auto enter = [&](const QString& program, const QProcessEnvironment& env) {
            contenders.push_back({program, {}, env, {}, {}});
            return contenders.size() - 1;
        };
        const size_t baselineAt = baseline.isEmpty() ? 0 : enter(baseline, x);
        const size_t serverAt = serverEnv.isEmpty() ? 0 : enter(QStringLiteral(VOUCHER_PROGRAM), underXvfb(serverEnv));
        const size_t tinyAt = tinyEnv.isEmpty() ? 0 : enter(QStringLiteral(VOUCHER_PROGRAM), underXvfb(tinyEnv));
        for (int i = 0; i <= runs; ++i) {
            std::vector<std::function<void()>> starts;
            bool seen = true;
            for (size_t k = 0; k < contenders.size(); ++k)
                starts.push_back([&, k] {
                    Contender& c = contenders[k];
                    double exposed = -1;
                    screen.settle();
                    const Start s = startOnce(c.program, c.env, c.arguments,
                                              {[&](const QElapsedTimer& t) { exposed = screen.waitForFirstExpose(t); },
                                               [&] { screen.settle(); }});
                    seen = seen && s.ms >= 0 && exposed >= 0;
                    if (i > 0) { // the first loop warms up
                        c.exposed.push_back(exposed);
                        c.painted.push_back(s.ms);
                    }
                });
            inTurn(std::move(starts), i);
            if (!seen) {
                std::fprintf(stderr, "bench_startup: no Expose seen under Xvfb\n");
                return 1;
            }
        }
        const auto against = [&](const QString& engine, size_t at, size_t floorAt, double factor, const QString& what,
                                 const QString& note) {
            const Contender &c = contenders[at], &floor = contenders[floorAt];
            figures.push_back({engine, QStringLiteral("start-up to the first Expose under Xvfb, against %1").arg(what),
                               bench::median(c.exposed), -1, bench::median(floor.exposed), -1, -1,
                               QStringLiteral("X events; ") + note});
            figures.push_back({engine, QStringLiteral("start-up to the first paint under Xvfb, against %1").arg(what),
                               bench::median(c.painted), -1, bench::median(floor.painted), -1, factor,
                               QStringLiteral("the probe's line, same starts; ") + note});
        };
        const QString label = QStringLiteral("the Korean label");
        const QString tiny = QStringLiteral("a tiny file");
        // The label costs what fonts and the toolkit cost; with a tiny file
        // beside it, the program on that file is the yardstick of its data.
        const double labelFactor = tinyAt ? -1 : 2;
        against(engine, 0, 1, labelFactor, label, QStringLiteral("floor: the window with one Korean label"));
        if (baselineAt)
            against(engine, baselineAt, 1, -1, label, baselineNote);
        if (serverAt)
            against(QStringLiteral("postgres"), serverAt, 1, labelFactor, label,
                    QStringLiteral("floor: the window with one Korean label"));
        if (tinyAt) {
            against(QStringLiteral("sqlite (tiny)"), tinyAt, 1, -1, label,
                    QStringLiteral("floor: the window with one Korean label"));
            const QString note = QStringLiteral("floor: the program on a new demo file");
            against(engine, 0, tinyAt, kDataFactor, tiny, note);
            if (serverAt)
                against(QStringLiteral("postgres"), serverAt, tinyAt, kDataFactor, tiny, note);
        }
    }
#endif
    bench::printTable(QStringLiteral("Start-up on %1 (median of %2 starts, ms)").arg(engine).arg(runs), figures);
    return 0;
}
