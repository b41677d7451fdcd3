#pragma once

#include "store/connection.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// What every benchmark program shares: where it runs, how it times, and the
// table it prints.
namespace bench {

// "--name VALUE" from the arguments, or the fallback.
QString option(const QStringList& args, const QString& name, const QString& fallback = {});
int intOption(const QStringList& args, const QString& name, int fallback);

// The data source a benchmark runs on: "--sqlite PATH", or "--odbc" for the
// data source Account of the ODBC configuration in $ODBCINI.
struct Target {
    QString engine; // "sqlite" or "postgres"
    std::unique_ptr<store::Connection> connection;
};
Target openTarget(const QStringList& args); // throws AppError

// Median wall time of `runs` calls, after one untimed warm-up call, in ms.
double medianMs(int runs, const std::function<void()>& body);
double median(std::vector<double> values);
// The value below which `share` (0..1) of the values lie, by nearest rank:
// the 0.99 of 100 values is the 99th smallest.
double percentile(std::vector<double> values, double share);

// One line of the table: the program's own path beside the least the engine
// needs for the same rows, and the goal it is held to.
// The handler is what the program runs; the clerk waits for it and for the
// repaint that follows. The ratio compares the handler with the engine.
struct Figure {
    QString engine;
    QString operation;
    double programMs = -1; // the handler
    double paintMs = -1;   // the repaint after it, -1 when not measured
    double engineMs = -1;  // -1: no engine floor for this line
    double limitMs = -1;   // on the wait; -1: no absolute limit
    double factor = -1;    // on the ratio; -1: no ratio limit
    QString note;
    bool failed = false; // a check beside the timing did not hold

    double waitMs() const { return programMs < 0 ? -1 : programMs + (paintMs > 0 ? paintMs : 0); }
    double ratio() const { return engineMs > 0 && programMs >= 0 ? programMs / engineMs : -1; }
    bool met() const;
    QString goal() const;
};

// Prints the figures as an aligned text table on stdout.
void printTable(const QString& title, const std::vector<Figure>& figures);

// Peak resident memory of this process so far (VmHWM), in kB.
qint64 peakMemoryKb();

} // namespace bench
