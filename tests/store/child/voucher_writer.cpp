// One workstation of the concurrency test: waits for the common start time,
// then saves its vouchers of one date as fast as it can and prints, for each,
// "<voucher number> <branch> <line count>" on a line of its own.
//
//   store_voucher_writer sqlite|postgres <file or schema> <date> <vouchers> <worker> <start ms since epoch>

#include "core/errors.h"
#include "testdb.h"
#include "savevoucher.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 7) {
        std::fputs("usage: store_voucher_writer sqlite|postgres <file|schema> <date> <vouchers> <worker> <start-ms>\n",
                   stderr);
        return 2;
    }
    const QString date = args[3];
    const int vouchers = args[4].toInt();
    const int worker = args[5].toInt();
    const qint64 startAt = args[6].toLongLong();
    try {
        auto connection = args[1] == QLatin1String("postgres") ? testdb::postgresAttach(args[2])
                                                               : store::Connection::openSqlite(args[2]);
        const qint64 wait = startAt - QDateTime::currentMSecsSinceEpoch();
        if (wait > 0)
            QThread::msleep(quint64(wait));
        for (int i = 0; i < vouchers; ++i) {
            const int branch = (worker + i) % 5;
            const int lineCount = 1 + (worker * 7 + i) % 5;
            QList<voucherseed::Line> lines;
            for (int n = 1; n <= lineCount; ++n)
                lines.append({QStringLiteral("0%1").arg(n), QStringLiteral("40701005000"), QStringLiteral("여비교통비"),
                              double(1000 * (worker + 1) + n), QStringLiteral("작업자 %1 전표 %2").arg(worker).arg(i)});
            const QString number = voucherseed::saveVoucher(*connection, date, branch, lines);
            std::printf("%s %d %d\n", qPrintable(number), branch, lineCount);
        }
    } catch (const core::AppError& e) {
        std::fprintf(stderr, "worker %d: %s\n", worker, e.what());
        return 1;
    }
    return 0;
}
