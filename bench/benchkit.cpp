#include "benchkit.h"

#include "core/errors.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bench {

QString option(const QStringList& args, const QString& name, const QString& fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : fallback;
}

int intOption(const QStringList& args, const QString& name, int fallback)
{
    bool ok = false;
    const int value = option(args, name).toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

Target openTarget(const QStringList& args)
{
    Target target;
    const QString path = option(args, QStringLiteral("--sqlite"));
    if (!path.isEmpty()) {
        if (!QFileInfo::exists(path))
            throw core::AppError(QStringLiteral("no such database file: %1").arg(path));
        target.engine = QStringLiteral("sqlite");
        target.connection = store::Connection::openSqlite(path);
    } else if (args.contains(QStringLiteral("--odbc"))) {
        target.connection = store::Connection::openOdbc(QStringLiteral("Account"));
        if (target.connection->engine() != core::Engine::PostgreSQL)
            throw core::AppError(QStringLiteral("the data source Account is not PostgreSQL"));
        target.engine = QStringLiteral("postgres");
    } else {
        throw core::AppError(QStringLiteral("give --sqlite PATH or --odbc"));
    }
    return target;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = size_t(std::ceil(share * double(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

double medianMs(int runs, const std::function<void()>& body)
{
    body(); // warm-up: statement caches, pages
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        body();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

bool Figure::met() const
{
    if (failed)
        return false;
    if (limitMs >= 0 && waitMs() >= limitMs)
        return false;
    if (factor > 0 && ratio() > factor)
        return false;
    return true;
}

QString Figure::goal() const
{
    QStringList parts;
    if (limitMs >= 0)
        parts << QStringLiteral("wait<%1").arg(limitMs);
    if (factor > 0)
        parts << QStringLiteral("ratio<=%1").arg(factor);
    return parts.isEmpty() ? QStringLiteral("-") : parts.join(QStringLiteral(", "));
}

namespace {

QString ms(double value)
{
    return value < 0 ? QStringLiteral("-") : QString::number(value, 'f', value < 10 ? 2 : 1);
}

} // namespace

void printTable(const QString& title, const std::vector<Figure>& figures)
{
    const QStringList head = {QStringLiteral("engine"),    QStringLiteral("operation"), QStringLiteral("program ms"),
                              QStringLiteral("paint ms"),  QStringLiteral("wait ms"),   QStringLiteral("floor ms"),
                              QStringLiteral("ratio"),     QStringLiteral("goal"),      QStringLiteral("met"),
                              QStringLiteral("note")};
    std::vector<QStringList> rows{head};
    for (const Figure& f : figures) {
        rows.push_back({f.engine, f.operation, ms(f.programMs), ms(f.paintMs), ms(f.waitMs()), ms(f.engineMs),
                        f.ratio() < 0 ? QStringLiteral("-") : QString::number(f.ratio(), 'f', 2) + u'x', f.goal(),
                        f.met() ? QStringLiteral("yes") : QStringLiteral("NO"), f.note});
    }
    std::vector<qsizetype> width(head.size(), 0);
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], row[c].size());
    std::printf("\n%s\n", title.toUtf8().constData());
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c) {
            const bool number = c >= 2 && c <= 6;
            line += (number ? row[c].rightJustified(width[c]) : row[c].leftJustified(width[c])) + QStringLiteral("  ");
        }
        std::printf("%s\n", line.trimmed().toUtf8().constData());
    }
    std::fflush(stdout);
}

qint64 peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).simplified().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace bench
