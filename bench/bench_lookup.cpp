// Times the six lookup dialogs' searches on synthetic master data of the
// admin tool's size (5,000 accounts, 100,000 customers, 1,000 banks, 10,000
// employees, 500 departments, 1,000 projects, 2,000 items), once on a SQLite
// file and once on PostgreSQL (a private schema behind the data source
// `Account`, filled with the same rows).
//
//   bench_lookup [--runs N] [--sqlite-only]
//
// The master rows come from `voucher-admin synth`; the PostgreSQL schema is
// dropped at the end. Prints the median of N runs per search, then each
// goal with its figure and whether it is met: every search under 50 ms, and
// Ctrl+End in the grid (the last row of the result current and painted)
// under 100 ms.
#include "lookup/lookupforms.h"
#include "schema/datasource.h"
#include "schema/schema.h"
#include "store/connection.h"
#include "store/statement.h"
#include "widgets/dbgrid.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

struct Subject {
    const char* dialog;
    const char* table;
    const char* nameColumn;
    std::function<std::unique_ptr<lookup::LookupFrame>(lookup::LookupTarget*)> make;
};

struct NoTarget : lookup::LookupTarget {
    void writeLookupChoice(voucher::LookupKind, int, const QString&, const QString&) override {}
};

const QStringList kMasterTables{QStringLiteral("kubun_table"),   QStringLiteral("test_ac_code"),
                                QStringLiteral("Sale_Table"),    QStringLiteral("Bank_Table"),
                                QStringLiteral("Sawon_Table"),   QStringLiteral("Buser_Table"),
                                QStringLiteral("Project_Table"), QStringLiteral("Item_Table"),
                                QStringLiteral("Jen_Print")};

std::vector<Subject> subjects()
{
    return {
        {"Form1 계정과목", "test_ac_code", "ac_name", [](lookup::LookupTarget* t) { return std::make_unique<lookup::TForm1>(t); }},
        {"Form2 거래처/은행", "Sale_Table", "Sale_Name", [](lookup::LookupTarget* t) { return std::make_unique<lookup::TForm2>(t); }},
        {"Form3 사원", "Sawon_Table", "Sawon_Name", [](lookup::LookupTarget* t) { return std::make_unique<lookup::TForm3>(t); }},
        {"Form4 부서", "Buser_Table", "Buser_Name", [](lookup::LookupTarget* t) { return std::make_unique<lookup::TForm4>(t); }},
        {"Form5 프로젝트", "Project_Table", "Project_Name", [](lookup::LookupTarget* t) { return std::make_unique<lookup::TForm5>(t); }},
        {"Form6 아이템", "Item_Table", "Item_Name", [](lookup::LookupTarget* t) { return std::make_unique<lookup::TForm6>(t); }},
    };
}

[[noreturn]] void fail(const QString& text)
{
    std::fprintf(stderr, "bench_lookup: %s\n", qPrintable(text));
    std::exit(1);
}

QSqlQuery run(store::Connection& c, const QString& sql)
{
    QSqlQuery q(c.database());
    q.setForwardOnly(true);
    if (!q.exec(sql))
        fail(q.lastError().text());
    return q;
}

void makeMasterData(const QString& path)
{
    QProcess admin;
    admin.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    admin.start(QStringLiteral(VOUCHER_ADMIN), {QStringLiteral("synth"), QStringLiteral("--sqlite"), path,
                                                QStringLiteral("--rows"), QStringLiteral("1")});
    if (!admin.waitForFinished(600000) || admin.exitCode() != 0)
        fail(QStringLiteral("voucher-admin synth failed: %1").arg(QString::fromLocal8Bit(admin.readAllStandardOutput())));
}

QString sqlLiteral(const QVariant& v)
{
    if (v.isNull())
        return QStringLiteral("NULL");
    QString text = v.toString();
    text.replace(u'\'', QStringLiteral("''"));
    return u'\'' + text + u'\'';
}

// Copies the master tables row for row, many rows per INSERT.
void copyMasters(store::Connection& from, store::Connection& to)
{
    for (const QString& table : kMasterTables) {
        QSqlQuery q = run(from, QStringLiteral("SELECT * FROM %1").arg(table));
        const QSqlRecord record = q.record();
        QStringList columns;
        for (int i = 0; i < record.count(); ++i)
            columns << record.fieldName(i);
        const QString head = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, columns.join(u','));
        QStringList values;
        auto flush = [&] {
            if (!values.isEmpty())
                to.execNative(head + values.join(u','));
            values.clear();
        };
        QSqlDatabase db = to.database();
        if (!db.transaction())
            fail(db.lastError().text());
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < columns.size(); ++i)
                row << sqlLiteral(q.value(i));
            values << u'(' + row.join(u',') + u')';
            if (values.size() == 500)
                flush();
        }
        flush();
        if (!db.commit())
            fail(db.lastError().text());
        to.execNative(QStringLiteral("ANALYZE %1").arg(table));
    }
}

// A short name to search for: two characters of the middle row's name,
// typed with a blank between them.
QString shortName(store::Connection& c, const Subject& s)
{
    const QString count = QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(s.table));
    QSqlQuery n = run(c, count);
    n.next();
    const int middle = n.value(0).toInt() / 2;
    QSqlQuery q = run(c, QStringLiteral("SELECT %1 FROM %2 ORDER BY 1 LIMIT 1 OFFSET %3")
                             .arg(QLatin1String(s.nameColumn), QLatin1String(s.table))
                             .arg(middle));
    q.next();
    const QString name = q.value(0).toString().remove(u' ');
    return name.left(1) + u' ' + name.mid(1, 1);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct Figures {
    int rows = 0;
    double searchMs = 0; // open and the first screenful, what the clerk waits for
    double allRowsMs = 0; // open and read every row
};

constexpr double kSearchGoalMs = 50;
constexpr double kLastRowGoalMs = 100;

struct GoalLine {
    QString engine;
    QString dialog;
    QString goal;
    double ms = 0;
    bool met = false;
};

std::vector<GoalLine>& goalLines()
{
    static std::vector<GoalLine> lines;
    return lines;
}

void noteGoal(const QString& engine, const char* dialog, const QString& goal, double ms, double boundMs)
{
    goalLines().push_back({engine, QString::fromUtf8(dialog), goal, ms, ms < boundMs});
}

void pressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &release);
}

Figures timeSearch(lookup::LookupFrame& dialog, const QString& text, int runs)
{
    std::vector<double> search, all;
    Figures f;
    for (int i = 0; i < runs; ++i) {
        dialog.prepareFor(1, text);
        QElapsedTimer t;
        t.start();
        dialog.runSearch();
        search.push_back(t.nsecsElapsed() / 1e6);
        f.rows = dialog.query()->rowCount();
        all.push_back(t.nsecsElapsed() / 1e6);
    }
    f.searchMs = median(search);
    f.allRowsMs = median(all);
    return f;
}

constexpr int kMostPresses = 2000;

// The clerk lists the whole table and presses Ctrl+End in the grid: from the
// key to the last row of the result current and painted.

double timeLastRow(lookup::LookupFrame& dialog, int runs, int& mostPresses)
{
    auto* grid = dialog.findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
    if (!grid)
        fail(QStringLiteral("no grid in %1").arg(dialog.objectName()));
    dialog.show();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        dialog.prepareFor(1, QString());
        dialog.runSearch();
        grid->setFocus();
        QCoreApplication::processEvents();
        grid->viewport()->repaint();
        store::SqlStatement* q = dialog.query();
        const auto atLastRow = [&] { return !q->canFetchMore() && grid->currentIndex().row() == q->fetchedRows() - 1; };
        QElapsedTimer t;
        t.start();
        // A grid that goes only to the last row read so far is pressed again,
        // as the clerk would, until the result's last row shows.
        int presses = 0;
        do {
            pressKey(grid, Qt::Key_End, Qt::ControlModifier);
            QCoreApplication::processEvents();
            grid->viewport()->repaint();
        } while (!atLastRow() && ++presses < kMostPresses);
        times.push_back(t.nsecsElapsed() / 1e6);
        if (!atLastRow())
            fail(QStringLiteral("%1: %2 times Ctrl+End left row %3 of %4 current")
                     .arg(dialog.objectName())
                     .arg(presses)
                     .arg(grid->currentIndex().row() + 1)
                     .arg(q->fetchedRows()));
        mostPresses = std::max(mostPresses, presses + 1);
    }
    dialog.hide();
    return median(times);
}

void benchEngine(const QString& engine, store::Connection& data, int runs)
{
    QTextStream out(stdout);
    NoTarget target;
    for (const Subject& s : subjects()) {
        QElapsedTimer t;
        t.start();
        std::unique_ptr<lookup::LookupFrame> dialog = s.make(&target); // creation lists the whole table
        const double createMs = t.nsecsElapsed() / 1e6;
        const QString name = shortName(data, s);
        const Figures empty = timeSearch(*dialog, QString(), runs);
        const Figures some = timeSearch(*dialog, name, runs);
        int presses = 0;
        const double lastRowMs = timeLastRow(*dialog, runs, presses);
        noteGoal(engine, s.dialog, QStringLiteral("empty search < 50 ms"), empty.searchMs, kSearchGoalMs);
        noteGoal(engine, s.dialog, QStringLiteral("short name search < 50 ms"), some.searchMs, kSearchGoalMs);
        noteGoal(engine, s.dialog, QStringLiteral("Ctrl+End to the last row < 100 ms"), lastRowMs, kLastRowGoalMs);
        out << QStringLiteral("%1 | %2 | %3 | %4 | %5 | %6 | \"%7\" %8 | %9 | %10 | %11 (%12×)\n")
                   .arg(engine, -10)
                   .arg(QString::fromUtf8(s.dialog), -14)
                   .arg(createMs, 8, 'f', 1)
                   .arg(empty.rows, 7)
                   .arg(empty.searchMs, 8, 'f', 1)
                   .arg(empty.allRowsMs, 8, 'f', 1)
                   .arg(name)
                   .arg(some.rows, 6)
                   .arg(some.searchMs, 8, 'f', 1)
                   .arg(some.allRowsMs, 8, 'f', 1)
                   .arg(lastRowMs, 8, 'f', 1)
                   .arg(presses);
        out.flush();
    }
}

void header()
{
    QTextStream out(stdout);
    out << "engine     | dialog         | create ms | rows  | empty: search ms | all rows ms | short name rows "
           "| search ms | all rows ms | last row ms (Ctrl+End presses)\n";
    out.flush();
}

void printGoals()
{
    QTextStream out(stdout);
    out << "\nengine     | dialog         | goal                              | median ms | met\n";
    for (const GoalLine& g : goalLines())
        out << QStringLiteral("%1 | %2 | %3 | %4 | %5\n")
                   .arg(g.engine, -10)
                   .arg(g.dialog, -14)
                   .arg(g.goal, -33)
                   .arg(g.ms, 9, 'f', 1)
                   .arg(g.met ? QStringLiteral("yes") : QStringLiteral("NO"));
    out.flush();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    int runs = 7;
    if (const int i = args.indexOf(QStringLiteral("--runs")); i > 0 && i + 1 < args.size())
        runs = std::max(1, args[i + 1].toInt());
    const bool sqliteOnly = args.contains(QStringLiteral("--sqlite-only"));

    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Account.db"));
    QElapsedTimer t;
    t.start();
    makeMasterData(path);
    std::printf("master data by voucher-admin synth: %.1f s; median of %d runs\n", t.elapsed() / 1000.0, runs);
    header();

    store::Connection::setAccount(store::Connection::openSqlite(path));
    benchEngine(QStringLiteral("SQLite"), store::Connection::account(), runs);

    if (sqliteOnly) {
        printGoals();
        return 0;
    }
    if (!schema::odbcDataSourceExists(QString::fromLatin1(schema::kDataSourceName))) {
        std::printf("PostgreSQL: no ODBC data source Account (eval \"$(scripts/pg-test-env.sh start)\")\n");
        printGoals();
        return 0;
    }
    const QString schema = QStringLiteral("bench_lookup_%1").arg(QCoreApplication::applicationPid());
    auto pg = store::Connection::openOdbc(QString::fromLatin1(schema::kDataSourceName));
    pg->execNative(QStringLiteral("CREATE SCHEMA %1").arg(schema));
    // A session setting, so that every connection made from this one (the
    // lookups read through their own) reads the same schema.
    pg->addSessionSetting(QStringLiteral("SET search_path TO %1").arg(schema));
    try {
        schema::createSchema(*pg);
        t.restart();
        copyMasters(store::Connection::account(), *pg);
        std::printf("master rows copied to PostgreSQL schema %s: %.1f s\n", qPrintable(schema), t.elapsed() / 1000.0);
        store::Connection::setAccount(std::move(pg));
        benchEngine(QStringLiteral("PostgreSQL"), store::Connection::account(), runs);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_lookup: %s\n", error.what());
    }
    store::Connection::setAccount(nullptr);
    auto admin = store::Connection::openOdbc(QString::fromLatin1(schema::kDataSourceName));
    admin->execNative(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(schema));
    printGoals();
    return 0;
}
