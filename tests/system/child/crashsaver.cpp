// A workstation that saves five-line vouchers on a SQLite file through the
// window's rows code and dies hard in the middle: at the N-th row written
// (--kill-at-row N) or at the N-th commit (--kill-at-commit N), from inside
// the engine's hooks, with SIGKILL. Without either it saves until killed from
// outside. Reports "saved <number> <tag>" for every voucher it was told was
// saved; tags are "ws9-<seq>-5" as the ledger check reads them.
//
//   crashsaver --sqlite PATH [--kill-at-row N | --kill-at-commit N] [--vouchers N]

#include "core/errors.h"
#include "store/connection.h"
#include "voucher/voucherbook.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <csignal>
#include <cstdio>
#include <dlfcn.h>

namespace {

// The engine's hooks, taken from the SQLite library the Qt driver loaded (no
// development files needed).
struct sqlite3;
constexpr int kSqliteInsert = 18; // SQLITE_INSERT
using UpdateHook = void (*)(void*, int, const char*, const char*, long long);
using CommitHook = int (*)(void*);
using SetUpdateHook = void* (*)(sqlite3*, UpdateHook, void*);
using SetCommitHook = void* (*)(sqlite3*, CommitHook, void*);

int rowsToKill = 0;
int commitsToKill = 0;

void onRowWritten(void*, int operation, const char*, const char* table, long long)
{
    if (operation == kSqliteInsert && qstricmp(table, "account_jen_AA") == 0 && --rowsToKill == 0)
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
        void* library = dlopen("libsqlite3.so.0", RTLD_NOW | RTLD_NOLOAD);
        auto setUpdateHook = library ? reinterpret_cast<SetUpdateHook>(dlsym(library, "sqlite3_update_hook")) : nullptr;
        auto setCommitHook = library ? reinterpret_cast<SetCommitHook>(dlsym(library, "sqlite3_commit_hook")) : nullptr;
        if (!db || !setUpdateHook || !setCommitHook)
            return 3;
        setUpdateHook(db, &onRowWritten, nullptr);
        setCommitHook(db, &onCommit, nullptr);

        voucher::VoucherBook book(*c);
        for (int seq = 1; vouchers == 0 || seq <= vouchers; ++seq) {
            const QString tag = QStringLiteral("ws9-%1-5").arg(seq);
            QList<voucher::VoucherLine> lines;
            for (int n = 1; n <= 5; ++n) {
                voucher::VoucherLine line;
                line.serialBun = QStringLiteral("0%1").arg(n);
                line.names[static_cast<size_t>(voucher::LookupKind::Account)] = QStringLiteral("여비교통비");
                line.codes[static_cast<size_t>(voucher::LookupKind::Account)] = QStringLiteral("40701005000"); // the demo chart's 여비교통비
                line.acText = tag;
                line.crAmt = 1000.0 * n;
                lines << line;
            }
            const auto saved = book.saveNewVoucher(QStringLiteral("2001-05-30"), 0, lines);
            std::printf("saved %s %s\n", qPrintable(saved.serialJen), qPrintable(tag));
            std::fflush(stdout);
        }
    } catch (const core::AppError& e) {
        std::fprintf(stderr, "crashsaver: %s\n", e.what());
        return 1;
    }
    return 0;
}
