// One workstation for the system tests and bench_workstations: for a bounded
// time it saves new vouchers, corrects lines of the vouchers it saved and
// deletes some of their lines, through the voucher book the entry window
// uses (VoucherBook), and reports on stdout what it was told, one line each:
//
//   saved <number> <tag> <branch> <bun>:<amount>,...   (tag: ws<worker>-<seq>-<lines>)
//   corrected <number> <tag> <bun> <amount>
//   missing <number> <tag> <bun>            (a correction found its line gone)
//   deleted <number> <tag> <bun> <rows>
//   error <what> <engine's text>
//   done <operations>
//
//   workstation (--sqlite PATH | --odbc [--schema S]) --worker K --seconds T
//               --dates D1,D2,... [--start-at EPOCH_MS] [--seed N]

#include "core/errors.h"
#include "core/strutil.h"
#include "store/connection.h"
#include "voucher/voucherbook.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>
#include <cstdio>
#include <map>

namespace {

struct Own {
    QString number;
    QString tag;
    QString date;
    QString branch;
    std::map<QString, double> lines; // bun -> amount
};

QString option(const QStringList& args, const QString& name)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
}

void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

VoucherLine lineOf(const QString& bun, double amount, const QString& tag)
{
    VoucherLine line;
    line.serialBun = bun;
    line.names[static_cast<size_t>(LookupKind::Account)] = QStringLiteral("여비교통비");
    line.codes[static_cast<size_t>(LookupKind::Account)] = QStringLiteral("40701005000"); // the demo chart's 여비교통비
    line.acText = tag;
    line.crAmt = amount;
    return line;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int worker = option(args, QStringLiteral("--worker")).toInt();
    const int seconds = option(args, QStringLiteral("--seconds")).toInt();
    const QStringList dates = option(args, QStringLiteral("--dates")).split(u',', Qt::SkipEmptyParts);
    QRandomGenerator dice(option(args, QStringLiteral("--seed")).toUInt() * 7919u + quint32(worker));
    if (dates.isEmpty() || seconds <= 0) {
        std::fprintf(stderr, "workstation: --dates and --seconds are needed\n");
        return 2;
    }

    std::unique_ptr<store::Connection> c;
    try {
        const QString path = option(args, QStringLiteral("--sqlite"));
        if (!path.isEmpty()) {
            c = store::Connection::openSqlite(path);
        } else {
            c = store::Connection::openOdbc(QStringLiteral("Account"));
            const QString schema = option(args, QStringLiteral("--schema"));
            if (!schema.isEmpty())
                c->addSessionSetting(QStringLiteral("SET search_path TO %1").arg(schema));
        }
    } catch (const AppError& e) {
        say(QStringLiteral("error open %1").arg(e.text().simplified()));
        return 1;
    }
    VoucherBook book(*c);

    // All workstations begin at the same moment.
    const qint64 startAt = option(args, QStringLiteral("--start-at")).toLongLong();
    while (QDateTime::currentMSecsSinceEpoch() < startAt)
        QThread::msleep(1);

    std::vector<Own> own;
    int sequence = 0;
    int operations = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000) {
        const int roll = dice.bounded(100);
        ++operations;
        try {
            if (own.empty() || roll < 55) {
                Own v;
                const int lines = 1 + dice.bounded(5);
                v.tag = QStringLiteral("ws%1-%2-%3").arg(worker).arg(++sequence).arg(lines);
                v.date = dates.at(dice.bounded(int(dates.size())));
                const int branch = dice.bounded(5);
                QList<VoucherLine> typed;
                QStringList told;
                for (int n = 1; n <= lines; ++n) {
                    const QString bun = QStringLiteral("0%1").arg(n);
                    const double amount = 1000.0 * (1 + dice.bounded(99999));
                    typed << lineOf(bun, amount, v.tag);
                    v.lines[bun] = amount;
                    told << QStringLiteral("%1:%2").arg(bun).arg(qint64(amount));
                }
                v.number = book.saveNewVoucher(v.date, branch, typed).serialJen;
                v.branch = formatZeroPadded(branch, 5);
                say(QStringLiteral("saved %1 %2 %3 %4").arg(v.number, v.tag).arg(branch).arg(told.join(u',')));
                own.push_back(v);
            } else if (roll < 80) {
                Own& v = own[dice.bounded(int(own.size()))];
                auto line = v.lines.begin();
                std::advance(line, dice.bounded(int(v.lines.size())));
                const double amount = 1000.0 * (1 + dice.bounded(99999));
                if (book.correctLine({v.date, v.branch, v.number, line->first}, lineOf(line->first, amount, v.tag))) {
                    line->second = amount;
                    say(QStringLiteral("corrected %1 %2 %3 %4").arg(v.number, v.tag, line->first).arg(qint64(amount)));
                } else {
                    say(QStringLiteral("missing %1 %2 %3").arg(v.number, v.tag, line->first));
                }
            } else {
                const size_t at = dice.bounded(int(own.size()));
                Own& v = own[at];
                auto line = v.lines.begin();
                std::advance(line, dice.bounded(int(v.lines.size())));
                const int rows = book.deleteLine(v.number, line->first);
                book.countVoucherRows(v.number); // as the window counts what is left
                say(QStringLiteral("deleted %1 %2 %3 %4").arg(v.number, v.tag, line->first).arg(rows));
                v.lines.erase(line);
                if (v.lines.empty())
                    own.erase(own.begin() + at);
            }
        } catch (const AppError& e) {
            say(QStringLiteral("error %1 %2").arg(roll < 55 ? QStringLiteral("save") : QStringLiteral("write"),
                                                  e.text().simplified()));
        }
    }
    say(QStringLiteral("done %1").arg(operations));
    return 0;
}
