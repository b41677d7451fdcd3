// The clerk's wait when the engine holds the save: another session holding
// the voucher table's lock (PostgreSQL) or the file's write lock (SQLite),
// and the server process serving the window stopped (PostgreSQL, SIGSTOP).
// Each save must end with the clerk's message within its bound instead of
// waiting as long as the lock or the stop lasts. Runs on the demo data.
//
//   bench_waits [--runs N] [--sqlite-only]   (PostgreSQL: the data source Account)
#include "benchkit.h"
#include "borvaneprobe.h"

#include "core/errors.h"
#include "schema/datasource.h"
#include "schema/schema.h"
#include "store/connection.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <functional>

namespace {

using store::Connection;

// One figure: the median wait of the refused saves, with the hold set up
// after the voucher is typed and let go after the save.
bench::Figure measure(const QString& engine, const QString& operation, int boundSeconds, int runs,
                      const std::function<void()>& hold, const std::function<void()>& release)
{
    entry::TfmBorvane window;
    window.show();
    BorvaneProbe w(window);
    w.setDate(QStringLiteral("2001-06-01"));
    w.chooseBranch(0);
    w.pQuery();
    std::vector<double> waits;
    bool allRefused = true;
    for (int i = 0; i < runs; ++i) {
        w.typeVoucher(QStringLiteral("대기 측정"));
        hold();
        QElapsedTimer timer;
        timer.start();
        bool refused = false;
        try {
            w.SaveBtnClick();
        } catch (const core::DbError&) {
            refused = true;
        }
        waits.push_back(timer.nsecsElapsed() / 1e6);
        release();
        allRefused = allRefused && refused;
    }
    bench::Figure f;
    f.engine = engine;
    f.operation = operation;
    f.programMs = bench::median(waits);
    f.limitMs = boundSeconds * 1000 + 2000; // the bound and a little for the rollback and the message
    f.note = QStringLiteral("bound %1 s%2").arg(boundSeconds).arg(allRefused ? QString() : QStringLiteral("; a save was not refused"));
    f.failed = !allRefused;
    return f;
}

void benchSqlite(int runs, std::vector<bench::Figure>& figures)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Account.db"));
    {
        auto c = store::Connection::openSqlite(path);
        schema::createSchema(*c);
        schema::loadDemoData(*c);
    }
    store::Connection::setAccount(store::Connection::openSqlite(path));
    auto holder = store::Connection::openSqlite(path);
    figures.push_back(measure(QStringLiteral("sqlite"), QStringLiteral("save, another writer holds the file"),
                              store::Connection::kLockWaitSeconds, runs,
                              [&] { holder->execNative(QStringLiteral("BEGIN IMMEDIATE")); },
                              [&] { holder->execNative(QStringLiteral("ROLLBACK")); }));
    store::Connection::setAccount(nullptr);
}

void benchPostgres(int runs, std::vector<bench::Figure>& figures)
{
    const QString dsn = QString::fromLatin1(schema::kDataSourceName);
    const QString schema = QStringLiteral("bench_waits_%1").arg(QCoreApplication::applicationPid());
    const auto attach = [&] {
        auto c = store::Connection::openOdbc(dsn);
        c->addSessionSetting(QStringLiteral("SET search_path TO %1").arg(schema));
        return c;
    };
    store::Connection::openOdbc(dsn)->execNative(QStringLiteral("CREATE SCHEMA %1").arg(schema));
    try {
        {
            auto c = attach();
            schema::createSchema(*c);
            schema::loadDemoData(*c);
        }
        store::Connection::setAccount(attach());
        auto holder = attach();
        figures.push_back(measure(QStringLiteral("postgres"), QStringLiteral("save, another session locks the table"),
                                  store::Connection::kLockWaitSeconds, runs,
                                  [&] {
                                      holder->database().transaction();
                                      holder->execNative(QStringLiteral("LOCK TABLE account_jen_AA IN EXCLUSIVE MODE"));
                                  },
                                  [&] { holder->database().rollback(); }));
        pid_t backend = 0;
        figures.push_back(measure(
            QStringLiteral("postgres"), QStringLiteral("save, the window's server process stopped"),
            store::Connection::kAnswerSeconds, runs,
            [&] {
                backend = pid_t(store::Connection::account().selectNative(QStringLiteral("select pg_backend_pid()"))
                                    .value(0)
                                    .value(0)
                                    .toLongLong());
                if (::kill(backend, SIGSTOP) != 0)
                    throw core::AppError(QStringLiteral("cannot stop the server process %1 (not root?)").arg(backend));
            },
            [&] { ::kill(backend, SIGCONT); }));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_waits: %s\n", error.what());
    }
    store::Connection::setAccount(nullptr);
    store::Connection::openOdbc(dsn)->execNative(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(schema));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = bench::intOption(args, QStringLiteral("--runs"), 3);
    std::vector<bench::Figure> figures;
    try {
        benchSqlite(runs, figures);
        if (!args.contains(QStringLiteral("--sqlite-only"))) {
            if (schema::odbcDataSourceExists(QString::fromLatin1(schema::kDataSourceName)))
                benchPostgres(runs, figures);
            else
                std::printf("PostgreSQL: no ODBC data source Account (eval \"$(scripts/pg-test-env.sh start)\")\n");
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_waits: %s\n", error.what());
        return 1;
    }
    bench::printTable(QStringLiteral("== The clerk's wait when the engine holds the save (median of %1 runs)").arg(runs),
                      figures);
    for (const bench::Figure& f : figures)
        if (!f.met())
            return 1;
    return 0;
}
