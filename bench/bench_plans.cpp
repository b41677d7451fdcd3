// Prints how the engine runs each statement of the entry window on the
// benchmark data: the text as translated for the engine and its query plan
// (EXPLAIN QUERY PLAN on SQLite, EXPLAIN on PostgreSQL).
//
//   bench_plans --sqlite PATH | --odbc  [--sql: print the translated text too]

#include "benchkit.h"
#include "samplevoucher.h"

#include "core/errors.h"
#include "voucher/listnarrowing.h"
#include "voucher/statements.h"
#include "voucher/writestatements.h"
#include "sql/dialect.h"
#include "voucher/numbering.h"
#include "store/statement.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cstdio>
#include <map>

namespace {

struct Planned {
    QString name;
    QStringList lines;
    std::map<QString, QVariant> bindings;
};

void printPlan(bench::Target& target, const Planned& p, bool showText)
{
    const QString sql = sql::translateSql(p.lines.join(u'\n'), target.connection->engine());
    const QString prefix = target.engine == QLatin1String("sqlite") ? QStringLiteral("EXPLAIN QUERY PLAN ")
                                                                     : QStringLiteral("EXPLAIN ");
    QSqlQuery q(target.connection->database());
    std::printf("\n== %s (%s)\n", qPrintable(p.name), qPrintable(target.engine));
    if (showText)
        std::printf("%s\n--\n", qPrintable(sql));
    if (!q.prepare(prefix + sql)) {
        std::printf("   cannot prepare: %s\n", qPrintable(q.lastError().text()));
        return;
    }
    static const QRegularExpression parameter(QStringLiteral(":([A-Za-z_][A-Za-z0-9_]*)"));
    QStringList seen;
    for (auto it = parameter.globalMatch(sql); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (seen.contains(name, Qt::CaseInsensitive))
            continue;
        seen << name;
        auto b = p.bindings.find(name.toLower());
        q.bindValue(u':' + name, b != p.bindings.end() ? b->second : QVariant(QString()));
    }
    if (!q.exec()) {
        std::printf("   cannot explain: %s\n", qPrintable(q.lastError().text()));
        return;
    }
    const int detail = q.record().indexOf(QStringLiteral("detail"));
    while (q.next())
        std::printf("   %s\n", qPrintable(q.value(detail >= 0 ? detail : 0).toString()));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        bench::Target target = bench::openTarget(app.arguments());
        const bench::SampleVoucher s = bench::findSampleVoucher(*target.connection);
        const QString bon = QStringLiteral("%1").arg(s.branch, 5, 10, QLatin1Char('0'));
        std::printf("sample: date %s, branch %s, voucher %s line %s\n", qPrintable(s.date), qPrintable(bon),
                    qPrintable(s.serialJen), qPrintable(s.serialBun));

        store::SqlStatement queryMax(*target.connection);
        voucher::Serial_Jen_MaxValue(queryMax, s.date); // leaves its text behind
        const QString pattern = u'%' + s.date + bon + u'%';
        // The list as pQuery sends it: narrowed to the date and branch when the data source allows.
        auto narrowed = [&](const QStringList& lines) {
            store::SqlStatement q(*target.connection);
            q.setLines(lines);
            voucher::narrowToDateAndBranch(q, pattern);
            return q.lines();
        };
        const auto pinned = voucher::pinnedBy(pattern);
        const std::map<QString, QVariant> listBindings = {{QStringLiteral("tbdkubun"), pattern},
                                                          {QStringLiteral("tblistday"), pinned->date},
                                                          {QStringLiteral("tblistbon"), pinned->branch}};
        const std::vector<Planned> statements = {
            {QStringLiteral("voucher list as written"), voucher::voucherList(), listBindings},
            {QStringLiteral("voucher list as pQuery sends it"), narrowed(voucher::voucherList()), listBindings},
            {QStringLiteral("remaining lines after a deletion (pDeleteCount_Query)"),
             narrowed(voucher::remainingVoucherLines()),
             {{QStringLiteral("tbdkubun"), pattern},
              {QStringLiteral("tblistday"), pinned->date},
              {QStringLiteral("tblistbon"), pinned->branch},
              {QStringLiteral("tbjen"), u'%' + s.serialJen + u'%'}}},
            {QStringLiteral("line numbers of a voucher (pDBGridDisplay)"),
             voucher::voucherLineNumbers(),
             {{QStringLiteral("tbserial_jen"), s.serialJen}, {QStringLiteral("tbserial_day"), s.date}}},
            {QStringLiteral("debit rows of a voucher (pPanel_DisplayQuery)"),
             voucher::voucherDebitRows(),
             {{QStringLiteral("tbdayboncrdr"), s.date + bon + QStringLiteral("01")},
              {QStringLiteral("tbserial_jen"), s.serialJen}}},
            {QStringLiteral("next voucher number (voucher::Serial_Jen_MaxValue)"),
             queryMax.lines(),
             {{QStringLiteral("tbdate_day"), s.date}}},
            {QStringLiteral("correcting one row (pUpDateQuery)"),
             voucher::voucherRowUpdate(),
             {{QStringLiteral("tbserial"), s.date + s.serialJen + s.serialBun + QStringLiteral("01")}}},
            {QStringLiteral("deleting a line (DeleteBtnClick)"),
             voucher::voucherLineDelete(),
             {{QStringLiteral("tbserial"), s.serialJen + s.serialBun}}},
            {QStringLiteral("rows left of a voucher (DeleteBtnClick)"),
             voucher::voucherRowCount(),
             {{QStringLiteral("tbserial"), s.serialJen}}},
        };
        for (const Planned& p : statements)
            printPlan(target, p, app.arguments().contains(QStringLiteral("--sql")));
    } catch (const core::AppError& e) {
        std::fprintf(stderr, "bench_plans: %s\n", e.what());
        return 1;
    }
    return 0;
}
