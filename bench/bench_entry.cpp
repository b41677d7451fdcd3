// Times what a clerk waits for in the entry window, on the benchmark data:
// the window's own handlers (TfmBorvane offscreen, with its six lookup
// dialogs) and the repaint after them, beside the least the engine needs for
// the same rows (enginefloor.h).
//
//   bench_entry --sqlite PATH | --odbc  [--runs N]
//
// Prints one table; every figure is the median of N runs after a warm-up.
// On an SQLite file the list and the save are timed again while the day's
// first copy of the file runs beside them, as at the day's first start.
// The vouchers it saves are deleted again; the corrected line gets its
// amount back.

#include "benchkit.h"
#include "enginefloor.h"
#include "samplevoucher.h"
#include "trailcost.h"

#include "borvaneprobe.h"
#include "core/errors.h"
#include "lookup/lookupforms.h"
#include "widgets/application.h"
#include "store/onlinebackup.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>

namespace {

using bench::Figure;

constexpr double kClerkLimitMs = 50;
constexpr double kEngineFactor = 3;
constexpr int kCopyPaceMs = 1000;

struct Timing {
    double handlerMs = 0;
    double paintMs = 0;
    double floorMs = -1; // when a floor ran in the same loop
};

// Medians of `runs` handlers and of the repaint after each, every run after
// its untimed setup; one warm-up run first. A floor given here runs in the
// same loop, after each repaint: the engine's least then meets the caches
// the handler met, not the warm ones of a loop of its own.
Timing timed(int runs, const std::function<void()>& setup, const std::function<void()>& handler,
             const std::function<void()>& check = {}, const std::function<void()>& floor = {})
{
    std::vector<double> handlers, paints, floors;
    QElapsedTimer timer;
    for (int i = 0; i <= runs; ++i) {
        setup();
        timer.start();
        handler();
        const qint64 handled = timer.nsecsElapsed();
        QCoreApplication::processEvents(); // the grid and the panels paint
        const qint64 painted = timer.nsecsElapsed();
        if (check)
            check();
        qint64 floorNs = 0;
        if (floor) {
            QCoreApplication::processEvents();
            timer.start();
            floor();
            floorNs = timer.nsecsElapsed();
        }
        if (i > 0) {
            handlers.push_back(handled / 1e6);
            paints.push_back((painted - handled) / 1e6);
            floors.push_back(floorNs / 1e6);
        }
    }
    return {bench::median(handlers), bench::median(paints), floor ? bench::median(floors) : -1};
}

void require(bool condition, const char* what)
{
    if (!condition)
        throw core::AppError(QStringLiteral("benchmark precondition failed: %1").arg(QLatin1String(what)));
}

class EntryBench {
public:
    EntryBench(const QString& engine, int runs, const QString& sqlitePath)
        : m_engine(engine), m_runs(runs), m_sqlitePath(sqlitePath), c(store::Connection::account())
    {
        m_sample = bench::findSampleVoucher(c);
        m_branch = QStringLiteral("%1").arg(m_sample.branch, 5, 10, QLatin1Char('0'));
        window.setLookupDialogs({&form1, &form2, &form3, &form4, &form5, &form6});
        window.show();
        QCoreApplication::processEvents();
        w.setDate(m_sample.date);
        w.chooseBranch(m_sample.branch);
        w.pQuery();
        QCoreApplication::processEvents();
    }

    void run()
    {
        std::printf("%s: date %s, branch %s: %d list rows; vouchers %s and %s; %d runs each\n", qPrintable(m_engine),
                    qPrintable(m_sample.date), qPrintable(m_branch), m_sample.listRows, qPrintable(m_sample.serialJen),
                    qPrintable(m_sample.otherSerialJen), m_runs);
        list();
        load();
        save();
        correct();
        remove();
        if (!m_sqlitePath.isEmpty())
            duringDailyCopy();
        cleanUp();
        m_figures.push_back({m_engine, QStringLiteral("peak memory of this process (VmHWM)"), -1, -1, -1, -1, -1,
                             QStringLiteral("%1 MB").arg(bench::peakMemoryKb() / 1024.0, 0, 'f', 1)});
        bench::printTable(QStringLiteral("Entry window on %1 (median of %2 runs, ms)").arg(m_engine).arg(m_runs),
                          m_figures);
    }

private:
    void add(const QString& operation, const Timing& t, double floor, double factor, const QString& note)
    {
        m_figures.push_back({m_engine, operation, t.handlerMs, t.paintMs, floor, kClerkLimitMs, factor, note});
    }

    void list()
    {
        const auto floor = [&] { m_floor.listDay(m_sample.date, m_branch); };
        const Timing list = timed(m_runs, [] {}, [&] { w.pQuery(); }, {}, floor);
        add(QStringLiteral("list of a date and branch (pQuery)"), list, list.floorMs, kEngineFactor,
            QStringLiteral("%1 grid rows").arg(w.list().rowCount()));
        const Timing keystroke = timed(m_runs, [] {}, [&] { w.cbKubunChange(); }, {}, floor);
        add(QStringLiteral("branch keystroke (cbKubunChange)"), keystroke, keystroke.floorMs, -1,
            QStringLiteral("list reloaded, panels cleared"));
    }

    // Alternates between the sample voucher and another one with fewer
    // lines, so that every load changes the panels.
    void load()
    {
        int turn = 0;
        const auto serialJen = [&] { return turn % 2 ? m_sample.otherSerialJen : m_sample.serialJen; };
        const auto serialBun = [&] { return turn % 2 ? m_sample.otherSerialBun : m_sample.serialBun; };
        const Timing load = timed(
            m_runs,
            [&] {
                ++turn;
                require(w.locateListRow(serialJen(), serialBun()), "sample row listed");
            },
            [&] { w.DBGrid1CellClick(); }, [&] { require(w.mode() == voucher::VoucherMode::Correcting, "voucher loaded"); },
            [&] { m_floor.readVoucher(serialJen()); });
        add(QStringLiteral("load a voucher (grid click)"), load, load.floorMs, kEngineFactor,
            QStringLiteral("pDBGridDisplay, pPanel_DisplayQuery; two vouchers in turn"));
    }

    // A new voucher typed into the panels; the focus waits in the last
    // amount, so that no name field's exit opens its lookup on the way.
    void typeVoucher(int lines)
    {
        w.CancelBtnClick();
        w.pQuery();
        w.focusAmount(lines);
        w.startNewVoucher();
        for (int line = 1; line <= lines; ++line)
            w.typeLine(line, QStringLiteral("51101001000"), QStringLiteral("여비교통비"), 10000.0 * line,
                       QStringLiteral("측정 %1라인").arg(line));
        QCoreApplication::processEvents();
    }

    // The number of the voucher just saved; kept for the clean-up.
    QString noteSaved()
    {
        require(w.mode() == voucher::VoucherMode::Idle && !w.lastStoredKey().isEmpty(), "voucher saved");
        m_saved << w.lastStoredKey().left(19);
        return m_saved.last();
    }

    void save()
    {
        const Timing save = timed(
            m_runs, [&] { typeVoucher(5); }, [&] { w.SaveBtnClick(); }, [&] { noteSaved(); },
            [&] {
                m_floorVouchers << m_floor.insertVoucher(m_sample.date, m_branch, 5);
                m_floor.listDay(m_sample.date, m_branch);
            });
        add(QStringLiteral("save a five-line voucher"), save, save.floorMs, kEngineFactor,
            QStringLiteral("number, 10 rows, list reloaded"));
        trailCost();
    }

    // The book's save with and without its voucher_history records, in turn.
    void trailCost()
    {
        const bench::TrailCost cost = bench::timeTrailCost(c, m_sample.date, m_sample.branch, m_runs, m_saved);
        const double without = bench::median(cost.withoutMs);
        const double with = bench::median(cost.withMs);
        m_figures.push_back({m_engine, QStringLiteral("book save, 5 lines, without the trail"), without, -1, -1,
                             kClerkLimitMs, -1, QStringLiteral("number, 10 rows")});
        m_figures.push_back({m_engine, QStringLiteral("book save, 5 lines, with the trail"), with, -1, -1, kClerkLimitMs,
                             -1, QStringLiteral("+ closed date, rows read back, 5 records")});
        // A difference inside the noise may come out below zero: shown as 0, the note keeps it.
        m_figures.push_back({m_engine, QStringLiteral("the trail's cost of a save"), std::max(with - without, 0.0), -1, -1,
                             m_sqlitePath.isEmpty() ? 5.0 : 2.0, -1,
                             QStringLiteral("with - without, medians: %1 ms").arg(with - without, 0, 'f', 2)});
    }

    void correct()
    {
        QSqlQuery stored(c.database());
        stored.exec(QStringLiteral("select cr_amt from account_jen_AA where serial_jen = '%1' and serial_bun = '%2' "
                                   "and serial_crdr = '01'")
                        .arg(m_sample.serialJen, m_sample.serialBun));
        require(stored.next(), "sample line stored");
        const double original = stored.value(0).toDouble();
        stored.finish();
        const int line = m_sample.serialBun.toInt();
        int flip = 0;
        auto choose = [&](double amount) {
            w.pQuery();
            require(w.chooseListRow(m_sample.serialJen, m_sample.serialBun), "sample row listed");
            w.setAmount(line, amount);
            w.focusAmount(line);
            QCoreApplication::processEvents();
        };
        const Timing correction = timed(
            m_runs, [&] { choose(original + (++flip % 2 ? 100 : 0)); }, [&] { w.SaveBtnClick(); },
            [&] { require(w.mode() == voucher::VoucherMode::Correcting, "correction saved"); },
            [&] {
                m_floor.updateLine(m_floorVouchers.first(), QStringLiteral("01"), 12345 + flip % 2);
                m_floor.readVoucher(m_floorVouchers.first());
                m_floor.listDay(m_sample.date, m_branch);
            });
        add(QStringLiteral("correct a line"), correction, correction.floorMs, kEngineFactor,
            QStringLiteral("2 rows, voucher and list reloaded"));
        choose(original);
        w.SaveBtnClick();
    }

    void remove()
    {
        QString deleting;
        auto saveTwoLines = [&] {
            typeVoucher(2);
            w.SaveBtnClick();
            deleting = noteSaved();
            require(w.chooseListRow(deleting, QStringLiteral("01")), "new voucher listed");
            QCoreApplication::processEvents();
        };
        add(QStringLiteral("delete a line (others remain)"),
            timed(m_runs, saveTwoLines, [&] { w.DeleteBtnClick(); },
                  [&] { require(w.list().rowCount() == 1, "the other line listed"); }),
            bench::medianMs(m_runs,
                            [&] {
                                const QString number = m_floor.insertVoucher(m_sample.date, m_branch, 2);
                                m_floor.deleteLine(number, QStringLiteral("01"));
                                m_floor.listDay(m_sample.date, m_branch);
                                m_floorVouchers << number;
                            }),
            -1, QStringLiteral("remaining lines listed; floor: insert, delete, list"));
        add(QStringLiteral("delete the last line"),
            timed(
                m_runs,
                [&] {
                    saveTwoLines();
                    w.DeleteBtnClick();
                    require(w.chooseListRow(deleting, QStringLiteral("02")), "remaining line listed");
                    QCoreApplication::processEvents();
                },
                [&] { w.DeleteBtnClick(); }, [&] { require(w.mode() == voucher::VoucherMode::Idle, "voucher gone"); }),
            -1, -1, QStringLiteral("full list reloaded"));
    }

    // Lists and saves at a brisk clerk's pace while `going`: back to back
    // they would grow the log far beyond a day's, which the copy's long read
    // keeps from being reset. At least one of each.
    void paced(const std::function<bool()>& going, std::vector<double>& lists, std::vector<double>& saves)
    {
        QElapsedTimer timer, pace;
        do {
            pace.start();
            timer.start();
            w.pQuery();
            QCoreApplication::processEvents();
            lists.push_back(timer.nsecsElapsed() / 1e6);
            typeVoucher(5);
            timer.start();
            w.SaveBtnClick();
            QCoreApplication::processEvents();
            saves.push_back(timer.nsecsElapsed() / 1e6);
            noteSaved();
            while (going() && pace.elapsed() < kCopyPaceMs)
                QThread::msleep(5);
        } while (going());
    }

    // The day's first start copies the whole file after the first paint (a
    // gigabyte and more on a ten-year ledger, for seconds), on a thread of low
    // priority; the clerk lists and saves meanwhile. The copy here is the one
    // the daily backup makes (compressed), into a folder of its own, so that
    // the file's own backups and their records stay as they are. The floor is
    // the same pace, as long, without the copy.
    void duringDailyCopy()
    {
        QTemporaryDir place;
        std::atomic<bool> copying{true};
        QString failure;
        QElapsedTimer copyTime;
        copyTime.start();
        QThread* copy = QThread::create([&] {
            try {
                store::backupSqliteFile(m_sqlitePath, place.filePath(QStringLiteral("Account.db.gz")), nullptr, true);
            } catch (const core::AppError& e) {
                failure = e.text();
            }
            copying = false;
        });
        copy->start(QThread::LowPriority);
        std::vector<double> lists, saves, quietLists, quietSaves;
        paced([&] { return copying.load(); }, lists, saves);
        const qint64 copyMs = copyTime.elapsed();
        copy->wait();
        delete copy;
        QElapsedTimer quiet;
        quiet.start();
        paced([&] { return quiet.elapsed() < copyMs; }, quietLists, quietSaves);
        const auto add = [&](const QString& operation, const std::vector<double>& waits,
                             const std::vector<double>& quietWaits) {
            Figure f{m_engine, operation, bench::percentile(waits, 0.99), -1, bench::percentile(quietWaits, 0.99),
                     kClerkLimitMs, -1,
                     QStringLiteral("p99 of %1 during a %2 s copy; p50 %3, longest %4; floor: p99 without it")
                         .arg(waits.size())
                         .arg(copyMs / 1000.0, 0, 'f', 1)
                         .arg(bench::percentile(waits, 0.5), 0, 'f', 1)
                         .arg(bench::percentile(waits, 1.0), 0, 'f', 1)};
            f.failed = !failure.isEmpty();
            m_figures.push_back(f);
        };
        add(QStringLiteral("list during the day's first copy"), lists, quietLists);
        add(QStringLiteral("save during the day's first copy"), saves, quietSaves);
        if (!failure.isEmpty())
            std::fprintf(stderr, "bench_entry: the day's copy failed: %s\n", qPrintable(failure));
    }

    // Leaves the data as found.
    void cleanUp()
    {
        for (const QString& number : m_saved + m_floorVouchers)
            QSqlQuery(c.database()).exec(QStringLiteral("delete from account_jen_AA where serial_jen = '%1'").arg(number));
    }

    QString m_engine;
    int m_runs;
    QString m_sqlitePath; // empty on a server
    store::Connection& c;
    EngineFloor m_floor{c};
    bench::SampleVoucher m_sample;
    QString m_branch;
    QStringList m_saved;
    QStringList m_floorVouchers;
    std::vector<Figure> m_figures;

    // The windows as the program makes them.
    entry::TfmBorvane window;
    lookup::TForm1 form1{&window};
    lookup::TForm2 form2{&window};
    lookup::TForm3 form3{&window};
    lookup::TForm4 form4{&window};
    lookup::TForm5 form5{&window};
    lookup::TForm6 form6{&window};
    BorvaneProbe w{window};
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    widgets::VoucherApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        bench::Target target = bench::openTarget(args);
        store::Connection::setAccount(std::move(target.connection));
        EntryBench(target.engine, bench::intOption(args, QStringLiteral("--runs"), 15),
                   bench::option(args, QStringLiteral("--sqlite")))
            .run();
    } catch (const core::AppError& e) {
        std::fprintf(stderr, "bench_entry: %s\n", e.what());
        return 1;
    }
    return 0;
}
