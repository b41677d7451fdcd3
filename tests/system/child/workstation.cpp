// One workstation for the system tests and bench_workstations: for a bounded
// time it saves new vouchers, corrects lines of the vouchers it saved and
// deletes some of their lines through the entry window itself (offscreen),
// and reports on stdout what it was told, one line each:
//
//   saved <number> <tag> <branch> <bun>:<amount>,...   (tag: ws<worker>-<seq>-<lines>)
//   corrected <number> <tag> <bun> <amount>
//   missing <number> <tag> <bun>            (a correction found its line gone)
//   deleted <number> <tag> <bun> <rows>
//   error <what> <engine's text, or the window's message>
//   waited <save|correct|delete> <ms>      (the button's handler: list reload, line located)
//   held <save|correct|delete> <ms>        (the voucher table's lock)
//   done <operations>
//
//   workstation (--sqlite PATH | --odbc [--schema S]) --worker K --seconds T
//               --dates D1,D2,... [--start-at EPOCH_MS] [--seed N] [--pace-ms P]
//
// Without --pace-ms it works back to back, as hard as it can. With it, it
// starts one action every P ms on a fixed schedule, as a clerk would (late
// when the one before overran), on a connection bounded as the program's own.
// Each workstation's schedule is shifted by its own part of P (from the
// seed), as clerks do not press their keys in step.

#include "borvaneprobe.h"
#include "core/errors.h"
#include "modalwatcher.h"
#include "store/connection.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QThread>
#include <cstdio>
#include <map>

namespace {

struct Own {
    QString number;
    QString tag;
    QString date;
    int branch = 0;
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

enum class Action { Save, Correct, Delete };

QString nameOf(Action action)
{
    switch (action) {
    case Action::Save:
        return QStringLiteral("save");
    case Action::Correct:
        return QStringLiteral("correct");
    case Action::Delete:
        break;
    }
    return QStringLiteral("delete");
}

QString ms(qint64 ns)
{
    return QString::number(ns / 1e6, 'f', 3);
}

// The stored rows of one line: a deletion is told by what it removed.
int rowsOf(store::Connection& c, const QString& number, const QString& bun)
{
    QSqlQuery q(c.database());
    q.prepare(QStringLiteral("select count(*) from account_jen_AA where serial_jen = ? and serial_bun = ?"));
    q.addBindValue(number);
    q.addBindValue(bun);
    if (!q.exec() || !q.next())
        throw core::AppError(q.lastError().text());
    return q.value(0).toInt();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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
    } catch (const core::AppError& e) {
        say(QStringLiteral("error open %1").arg(e.text().simplified()));
        return 1;
    }
    const int paceMs = option(args, QStringLiteral("--pace-ms")).toInt();
    if (paceMs > 0)
        c->boundClerkWaits();
    store::Connection& account = *c; // the window's from here on
    store::Connection::setAccount(std::move(c));
    entry::TfmBorvane window;
    window.show();
    QCoreApplication::processEvents();
    BorvaneProbe w{window};
    ModalWatcher boxes; // a refusal the window shows is reported, not waited on

    // All workstations begin at the same moment.
    const qint64 startAt = option(args, QStringLiteral("--start-at")).toLongLong();
    while (QDateTime::currentMSecsSinceEpoch() < startAt)
        QThread::msleep(1);

    std::vector<Own> own;
    int sequence = 0;
    int operations = 0;
    QElapsedTimer clock;
    clock.start();
    // Drawn apart from the dice, so that the actions are those of the same seed without a pace.
    QRandomGenerator phase(option(args, QStringLiteral("--seed")).toUInt() * 104729u + quint32(worker));
    const qint64 phaseMs = paceMs > 0 ? phase.bounded(paceMs) : 0;
    QElapsedTimer waited;
    // The clerk's choices before the button: the date and branch listed, a line chosen.
    const auto listDay = [&](const QString& date, int branch) {
        w.CancelBtnClick();
        w.setDate(date);
        w.chooseBranch(branch);
        w.pQuery();
    };
    const auto press = [&](void (BorvaneProbe::*button)()) {
        QCoreApplication::processEvents();
        boxes.texts.clear();
        account.noteLockHeld(-1);
        waited.start();
        (w.*button)();
        const qint64 ns = waited.nsecsElapsed();
        if (!boxes.texts.isEmpty())
            throw core::AppError(boxes.texts.join(u' '));
        return ns;
    };
    while (clock.elapsed() < seconds * 1000) {
        if (paceMs > 0) {
            const qint64 due = phaseMs + qint64(operations) * paceMs;
            if (due >= seconds * 1000)
                break;
            if (clock.elapsed() < due)
                QThread::msleep(quint32(due - clock.elapsed()));
        }
        const int roll = dice.bounded(100);
        const Action action = own.empty() || roll < 55 ? Action::Save : roll < 80 ? Action::Correct : Action::Delete;
        ++operations;
        qint64 waitedNs = -1;
        waited.invalidate();
        try {
            if (action == Action::Save) {
                Own v;
                const int lines = 1 + dice.bounded(5);
                v.tag = QStringLiteral("ws%1-%2-%3").arg(worker).arg(++sequence).arg(lines);
                v.date = dates.at(dice.bounded(int(dates.size())));
                v.branch = dice.bounded(5);
                listDay(v.date, v.branch);
                w.focusAmount(lines);
                w.startNewVoucher();
                QStringList told;
                for (int n = 1; n <= lines; ++n) {
                    const QString bun = QStringLiteral("0%1").arg(n);
                    const double amount = 1000.0 * (1 + dice.bounded(99999));
                    // the demo chart's 여비교통비
                    w.typeLine(n, QStringLiteral("40701005000"), QStringLiteral("여비교통비"), amount, v.tag);
                    v.lines[bun] = amount;
                    told << QStringLiteral("%1:%2").arg(bun).arg(qint64(amount));
                }
                waitedNs = press(&BorvaneProbe::SaveBtnClick);
                if (w.mode() != voucher::VoucherMode::Idle || w.lastStoredKey().isEmpty())
                    throw core::AppError(QStringLiteral("the window stored nothing"));
                v.number = w.lastStoredKey().left(19);
                say(QStringLiteral("saved %1 %2 %3 %4").arg(v.number, v.tag).arg(v.branch).arg(told.join(u',')));
                own.push_back(v);
            } else {
                const size_t at = dice.bounded(int(own.size()));
                Own& v = own[at];
                auto line = v.lines.begin();
                std::advance(line, dice.bounded(int(v.lines.size())));
                const double amount = 1000.0 * (1 + dice.bounded(99999));
                listDay(v.date, v.branch);
                if (!w.chooseListRow(v.number, line->first) || w.mode() != voucher::VoucherMode::Correcting) {
                    say(QStringLiteral("missing %1 %2 %3").arg(v.number, v.tag, line->first));
                } else if (action == Action::Correct) {
                    w.setAmount(line->first.toInt(), amount);
                    w.focusAmount(line->first.toInt());
                    waitedNs = press(&BorvaneProbe::SaveBtnClick);
                    line->second = amount;
                    say(QStringLiteral("corrected %1 %2 %3 %4").arg(v.number, v.tag, line->first).arg(qint64(amount)));
                } else {
                    const int before = rowsOf(account, v.number, line->first);
                    waitedNs = press(&BorvaneProbe::DeleteBtnClick);
                    const int rows = before - rowsOf(account, v.number, line->first);
                    say(QStringLiteral("deleted %1 %2 %3 %4").arg(v.number, v.tag, line->first).arg(rows));
                    v.lines.erase(line);
                    if (v.lines.empty())
                        own.erase(own.begin() + at);
                }
            }
        } catch (const core::AppError& e) {
            if (waitedNs < 0 && waited.isValid())
                waitedNs = waited.nsecsElapsed();
            const QString what = action == Action::Save ? QStringLiteral("save") : QStringLiteral("write");
            say(QStringLiteral("error %1 %2").arg(what, e.text().simplified()));
        }
        if (waitedNs >= 0)
            say(QStringLiteral("waited %1 %2").arg(nameOf(action), ms(waitedNs)));
        if (account.lastLockHeldNs() >= 0)
            say(QStringLiteral("held %1 %2").arg(nameOf(action), ms(account.lastLockHeldNs())));
    }
    say(QStringLiteral("done %1").arg(operations));
    return 0;
}
