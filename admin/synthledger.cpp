#include "synthledger.h"

#include "koreanwords.h"
#include "sqlutil.h"
#include "writesession.h"

#include "core/errors.h"
#include "schema/voucherform.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

namespace admin {

namespace {

// Lines per voucher, in percent: most withdrawals pay one thing, and about
// 1.3 lines on average let ten years of 300 vouchers a working day come to
// two million rows.
constexpr int kLineWeights[] = {80, 14, 4, 1, 1};
constexpr double kRowsPerVoucher = 2.0 * (1 * 80 + 2 * 14 + 3 * 4 + 4 * 1 + 5 * 1) / 100.0;
constexpr qint64 kProgressStep = 100000;

const CodeName kCash{QLatin1String(schema::kCashCode), schema::cashName()};

struct VoucherKind {
    QString kubunJen;
    QString form;
};

bool workingDay(const QDate& d)
{
    return d.dayOfWeek() <= 5;
}

int workingDaysBetween(const QDate& from, const QDate& to)
{
    int n = 0;
    for (QDate d = from; d <= to; d = d.addDays(1))
        n += workingDay(d) ? 1 : 0;
    return n;
}

QString digits(qint64 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

double amountOf(Dice& dice)
{
    const double raw = std::pow(10.0, std::clamp(dice.normal(4.6, 0.7), 2.7, 7.7));
    const double step = raw < 10000 ? 10 : 100;
    return std::round(raw / step) * step;
}

CodeName optional(Dice& dice, const QVector<CodeName>& pool, double p)
{
    if (pool.isEmpty() || !dice.chance(p))
        return {};
    return dice.pick(pool);
}

class LedgerWriter {
public:
    LedgerWriter(store::Connection& c, const SynthOptions& o, const MasterPools& pools, Dice& dice)
        : m_options(o),
          m_pools(pools),
          m_dice(dice),
          m_out(tableWriter(c, QLatin1String(schema::kVoucherTable), schema::voucherColumnNames()))
    {
        if (m_pools.accounts.isEmpty())
            throw core::AppError(QStringLiteral("전표에 쓸 계정과목이 없습니다."));
        m_timer.start();
    }

    LedgerFigures run()
    {
        const QDate today = QDate::currentDate();
        const int maxDays = std::max(1, workingDaysBetween(today.addYears(-m_options.years), today));
        const double vouchersWanted = double(m_options.rows) / kRowsPerVoucher;
        m_perDay = std::max(double(m_options.perDay), std::ceil(vouchersWanted / maxDays));
        say(QStringLiteral("전표: 약 %1건 (영업일당 약 %2건, %3개 지점)")
                .arg(qint64(vouchersWanted))
                .arg(qint64(m_perDay))
                .arg(m_pools.branches));

        // From today backwards, so the newest dates are full and the program opens on data.
        for (QDate day = today; remaining() >= 2; day = day.addDays(-1)) {
            if (!workingDay(day))
                continue;
            writeDay(day);
            m_figures.first = day;
            if (!m_figures.last.isValid())
                m_figures.last = day;
            ++m_figures.days;
        }
        m_out->finish();
        m_figures.rows = m_out->written();
        return m_figures;
    }

private:
    qint64 remaining() const { return m_options.rows - m_rows; }

    void writeDay(const QDate& day)
    {
        const int count = std::max(1, int(std::lround(m_perDay * (0.85 + 0.3 * m_dice.unit()))));
        QVector<QTime> times;
        for (int i = 0; i < count; ++i)
            times.append(QTime(8, 30).addSecs(m_dice.between(0, 10 * 3600)));
        std::sort(times.begin(), times.end());
        const QString date = day.toString(QStringLiteral("yyyy-MM-dd"));
        for (int i = 0; i < count && remaining() >= 2; ++i)
            writeVoucher(date, date + u'-' + digits(i + 1, 8), QDateTime(day, times[i]));
    }

    int lineCount()
    {
        int roll = m_dice.between(1, 100);
        for (int n = 0; n < 5; ++n) {
            roll -= kLineWeights[n];
            if (roll <= 0)
                return n + 1;
        }
        return 5;
    }

    // Line numbers of a voucher: mostly 01..n, sometimes with a gap where a
    // panel was left at zero.
    QStringList lineNumbers(int n)
    {
        QList<int> picked;
        if (n < 5 && m_dice.chance(0.05)) {
            QList<int> all = {1, 2, 3, 4, 5};
            while (all.size() > n)
                all.removeAt(m_dice.between(0, int(all.size()) - 1));
            picked = all;
        } else {
            for (int i = 1; i <= n; ++i)
                picked.append(i);
        }
        QStringList out;
        for (int i : picked)
            out << digits(i, 2);
        return out;
    }

    VoucherKind kind()
    {
        const int roll = m_dice.between(1, 100);
        if (roll <= 3)
            return {QStringLiteral("1"), QStringLiteral("A001")}; // receipts
        if (roll <= 6)
            return {QStringLiteral("3"), QStringLiteral("A003")}; // transfers
        return {QLatin1String(schema::kWithdrawalKind), QLatin1String(schema::kWithdrawalForm)};
    }

    int branch()
    {
        if (m_pools.branches <= 1 || m_dice.chance(0.3))
            return 0; // the head office writes most
        return m_dice.between(1, m_pools.branches - 1);
    }

    void writeVoucher(const QString& date, const QString& number, const QDateTime& at)
    {
        const VoucherKind k = kind();
        const QString bon = digits(branch(), 5);
        const int wanted = std::min<qint64>(lineCount(), remaining() / 2);
        const QStringList lines = lineNumbers(wanted);
        ++m_figures.vouchers;
        if (k.kubunJen != QLatin1String(schema::kWithdrawalKind))
            ++m_figures.otherKindVouchers;
        for (const QString& line : lines) {
            const CodeName account = m_dice.chance(0.55) && !m_pools.expenseAccounts.isEmpty()
                                         ? m_dice.pick(m_pools.expenseAccounts)
                                         : m_dice.pick(m_pools.accounts);
            // Withdrawals credit cash, receipts debit it, transfers move between two accounts.
            CodeName debit = account;
            CodeName credit = kCash;
            if (k.kubunJen == QLatin1String("1"))
                std::swap(debit, credit);
            else if (k.kubunJen == QLatin1String("3"))
                credit = m_dice.pick(m_pools.accounts);
            Line l;
            l.counterpart = optional(m_dice, m_pools.customersAndBanks, 0.6);
            l.employee = optional(m_dice, m_pools.employees, 0.4);
            l.department = optional(m_dice, m_pools.departments, 0.7);
            l.project = optional(m_dice, m_pools.projects, 0.15);
            l.item = optional(m_dice, m_pools.items, 0.3);
            const QString subject = !l.item.name.isEmpty()          ? l.item.name
                                    : !l.counterpart.name.isEmpty() ? l.counterpart.name
                                                                    : account.name;
            l.text = m_dice.pick(descriptions()).arg(subject);
            const double amount = amountOf(m_dice);
            schema::VoucherRow row{.serialJen = number, .serialBun = line, .date = date, .branch = bon,
                                 .kubunJen = k.kubunJen, .form = k.form};
            row.text = l.text;
            row.itemCode = l.item.code, row.itemName = l.item.name;
            row.kubunCode = l.counterpart.code, row.kubunName = l.counterpart.name;
            row.projectCode = l.project.code, row.projectName = l.project.name;
            row.buserCode = l.department.code, row.buserName = l.department.name;
            row.sawonCode = l.employee.code, row.sawonName = l.employee.name;
            writeRow(row, schema::kCreditSide, credit, 0, amount, at);
            writeRow(row, schema::kDebitSide, debit, amount, 0, at.addMSecs(m_dice.between(1, 40)));
        }
    }

    struct Line {
        CodeName counterpart, employee, department, project, item;
        QString text;
    };

    void writeRow(schema::VoucherRow& row, const char* side, const CodeName& account, double cr, double dr,
                  const QDateTime& at)
    {
        row.side = QLatin1String(side);
        row.accountCode = account.code;
        row.accountName = account.name;
        row.crAmt = cr;
        row.drAmt = dr;
        row.endDay = at;
        m_out->add(schema::voucherRowValues(row));
        if (++m_rows % kProgressStep == 0)
            say(QStringLiteral("  %1 / %2행  %3초").arg(m_rows).arg(m_options.rows).arg(m_timer.elapsed() / 1000.0, 0, 'f', 1));
    }

    const SynthOptions& m_options;
    const MasterPools& m_pools;
    Dice& m_dice;
    std::unique_ptr<RowSink> m_out;
    QElapsedTimer m_timer;
    double m_perDay = 0;
    qint64 m_rows = 0;
    LedgerFigures m_figures;
};

} // namespace

LedgerFigures synthesizeLedger(store::Connection& connection, const SynthOptions& options, const MasterPools& pools,
                               Dice& dice)
{
    LedgerWriter writer(connection, options, pools, dice);
    return writer.run();
}

} // namespace admin
