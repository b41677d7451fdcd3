#include "ledgercheck.h"

#include "schema/voucherform.h"

#include <QSqlError>
#include <QSqlQuery>
#include <map>
#include <set>

namespace {

struct Row {
    QString bun;
    QString side;
    QString branch;
    QString tag;
    QString account;
    double cr = 0;
    double dr = 0;
};

// The tagged rows by voucher number.
std::map<QString, std::vector<Row>> taggedRows(store::Connection& c, QStringList& problems)
{
    std::map<QString, std::vector<Row>> rows;
    QSqlQuery q(c.database());
    q.setForwardOnly(true);
    // Every row under a number that a tagged row carries: a number the
    // workstations were given must not be another voucher's as well.
    if (!q.exec(QStringLiteral("select serial_jen, serial_bun, serial_crdr, kubun_bon, ac_text, ac_jencode, cr_amt, dr_amt "
                               "from account_jen_AA where serial_jen in "
                               "(select serial_jen from account_jen_AA where ac_text like 'ws%')"))) {
        problems << QStringLiteral("cannot read the voucher table: %1").arg(q.lastError().text());
        return rows;
    }
    while (q.next()) {
        rows[q.value(0).toString().trimmed()].push_back({q.value(1).toString().trimmed(), q.value(2).toString().trimmed(),
                                                          q.value(3).toString().trimmed(), q.value(4).toString().trimmed(),
                                                          q.value(5).toString().trimmed(), q.value(6).toDouble(),
                                                          q.value(7).toDouble()});
    }
    return rows;
}

// The workstation's tag among a number's rows.
QString tagOf(const std::vector<Row>& rows)
{
    for (const Row& r : rows)
        if (r.tag.startsWith(QLatin1String("ws")))
            return r.tag;
    return {};
}

// Per voucher: one tag and one branch; per line: a debit and a credit row,
// cash on the credit side, amounts mirrored. Returns the lines' debit amounts.
std::map<QString, double> checkVoucher(const QString& number, const std::vector<Row>& rows, QStringList& problems)
{
    std::set<QString> tags, branches;
    std::map<QString, std::vector<const Row*>> lines;
    for (const Row& r : rows) {
        tags.insert(r.tag);
        branches.insert(r.branch);
        lines[r.bun].push_back(&r);
    }
    if (tags.size() != 1 || branches.size() != 1)
        problems << QStringLiteral("%1 is shared by %2 vouchers").arg(number).arg(std::max(tags.size(), branches.size()));
    std::map<QString, double> amounts;
    for (const auto& [bun, pair] : lines) {
        const Row* debit = nullptr;
        const Row* credit = nullptr;
        for (const Row* r : pair)
            (r->side == QLatin1String(schema::kDebitSide) ? debit : credit) = r;
        if (pair.size() != 2 || !debit || !credit) {
            problems << QStringLiteral("%1 line %2 has %3 rows, not a debit and a credit row")
                            .arg(number, bun)
                            .arg(pair.size());
            continue;
        }
        if (debit->cr != credit->dr || debit->dr != credit->cr || credit->account != QLatin1String(schema::kCashCode))
            problems << QStringLiteral("%1 line %2: debit %3/%4, credit %5/%6 (%7)")
                            .arg(number, bun)
                            .arg(debit->cr)
                            .arg(debit->dr)
                            .arg(credit->cr)
                            .arg(credit->dr)
                            .arg(credit->account);
        amounts[bun] = debit->cr;
    }
    return amounts;
}

} // namespace

LedgerReport checkLedger(store::Connection& c, const QStringList& reports)
{
    LedgerReport report;
    // What each voucher should hold now, by number and tag; each workstation
    // touches only its own vouchers, so its reports in order give their state.
    std::map<std::pair<QString, QString>, std::map<QString, double>> expected;
    for (const QString& line : reports) {
        const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
        if (f.isEmpty())
            continue;
        const QString& what = f[0];
        if (what == QLatin1String("saved") && f.size() == 5) {
            ++report.saved;
            auto& lines = expected[{f[1], f[2]}];
            for (const QString& part : f[4].split(u','))
                lines[part.section(u':', 0, 0)] = part.section(u':', 1).toDouble();
        } else if (what == QLatin1String("corrected") && f.size() == 5) {
            ++report.corrected;
            expected[{f[1], f[2]}][f[3]] = f[4].toDouble();
        } else if (what == QLatin1String("deleted") && f.size() == 5) {
            ++report.deleted;
            expected[{f[1], f[2]}].erase(f[3]);
            if (f[4] != QLatin1String("2"))
                report.problems << QStringLiteral("deleting %1 line %2 removed %3 rows").arg(f[1], f[3], f[4]);
        } else if (what == QLatin1String("missing")) {
            report.problems << QStringLiteral("a workstation found its own line gone: %1").arg(line);
        } else if (what == QLatin1String("error")) {
            ++report.errors;
            report.problems << QStringLiteral("refused: %1").arg(line);
        }
    }

    const auto stored = taggedRows(c, report.problems);
    std::map<std::pair<QString, QString>, std::map<QString, double>> found;
    for (const auto& [number, rows] : stored) {
        const auto amounts = checkVoucher(number, rows, report.problems);
        found[{number, tagOf(rows)}] = amounts;
    }
    for (const auto& [key, lines] : expected) {
        if (lines.empty())
            continue; // every line deleted by its workstation
        const auto it = found.find(key);
        if (it == found.end()) {
            report.problems << QStringLiteral("saved voucher %1 (%2) is not stored").arg(key.first, key.second);
            continue;
        }
        ++report.present;
        if (it->second != lines)
            report.problems << QStringLiteral("voucher %1 (%2) holds other lines or amounts than told")
                                   .arg(key.first, key.second);
    }
    for (const auto& [key, lines] : found) {
        const auto it = expected.find(key);
        if (it == expected.end() || it->second.empty())
            report.problems << QStringLiteral("voucher %1 (%2) is stored but no workstation was told so")
                                   .arg(key.first, key.second);
    }
    // The workstations' records form one chain, in the order written.
    QString chainEnd;
    const QString records = QStringLiteral("SELECT history_id, prev_hash, hash FROM voucher_history ORDER BY history_id");
    for (const QStringList& r : c.selectNative(records)) {
        if (r.value(1) != chainEnd)
            report.problems << QStringLiteral("trail record %1 does not follow the record before it").arg(r.value(0));
        chainEnd = r.value(2);
    }
    return report;
}

QStringList checkWholeVouchers(store::Connection& c)
{
    QStringList problems;
    for (const auto& [number, rows] : taggedRows(c, problems)) {
        const auto amounts = checkVoucher(number, rows, problems);
        const QString tag = tagOf(rows);
        const int lines = tag.section(u'-', 2).toInt();
        if (int(amounts.size()) != lines)
            problems << QStringLiteral("%1 (%2) has %3 of its %4 lines").arg(number, tag).arg(amounts.size()).arg(lines);
    }
    return problems;
}
