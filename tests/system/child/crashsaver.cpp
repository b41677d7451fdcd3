// A workstation that saves five-line vouchers on a SQLite file through the
// window's rows code and dies hard in the middle: at the N-th row written
// (--kill-at-row N) or at the N-th commit (--kill-at-commit N), from inside
// the engine's hooks, with SIGKILL. Without either it saves until killed from
// outside. Reports "saved <number> <tag>" for every voucher it was told was
// saved; tags are "ws9-<seq>-5" as the ledger check reads them.
//
//   crashsaver --sqlite PATH [--kill-at-row N | --kill-at-commit N] [--vouchers N]

#include "app/errors.h"
#include "entry/voucherrows.h"
#include "store/connection.h"
#include "store/statement.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <csignal>
#include <cstdio>
#include <sqlite3.h>

namespace {

int rowsToKill = 0;
int commitsToKill = 0;

void onRowWritten(void*, int operation, const char*, const char* table, sqlite3_int64)
{
    if (operation == SQLITE_INSERT && qstricmp(table, "account_jen_AA") == 0 && --rowsToKill == 0)
        std::raise(SIGKILL);
}

int onCommit(void*)
{
    if (--commitsToKill == 0)
        std::raise(SIGKILL);
    return 0;
}

int intOption(const QStringList& args, const QString& name)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--sqlite"));
    if (at < 0 || at + 1 >= args.size())
        return 2;
    rowsToKill = intOption(args, QStringLiteral("--kill-at-row"));
    commitsToKill = intOption(args, QStringLiteral("--kill-at-commit"));
    const int vouchers = intOption(args, QStringLiteral("--vouchers"));
    try {
        auto c = store::Connection::openSqlite(args.at(at + 1));
        const QVariant handle = c->database().driver()->handle();
        sqlite3* db = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
                          ? *static_cast<sqlite3* const*>(handle.constData())
                          : nullptr;
        if (!db)
            return 3;
        sqlite3_update_hook(db, &onRowWritten, nullptr);
        sqlite3_commit_hook(db, &onCommit, nullptr);

        store::SqlStatement queryMax(*c), querySql(*c);
        for (int seq = 1; vouchers == 0 || seq <= vouchers; ++seq) {
            const QString tag = QStringLiteral("ws9-%1-5").arg(seq);
            QList<VoucherLine> lines;
            for (int n = 1; n <= 5; ++n) {
                VoucherLine line;
                line.serialBun = QStringLiteral("0%1").arg(n);
                line.names[static_cast<size_t>(LookupKind::Account)] = QStringLiteral("여비교통비");
                line.codes[static_cast<size_t>(LookupKind::Account)] = QStringLiteral("51101001000");
                line.acText = tag;
                line.crAmt = 1000.0 * n;
                lines << line;
            }
            const auto saved = voucherrows::saveNewVoucher(queryMax, querySql, QStringLiteral("2001-05-30"), 0, lines);
            std::printf("saved %s %s\n", qPrintable(saved.serialJen), qPrintable(tag));
            std::fflush(stdout);
        }
    } catch (const AppError& e) {
        std::fprintf(stderr, "crashsaver: %s\n", e.what());
        return 1;
    }
    return 0;
}
