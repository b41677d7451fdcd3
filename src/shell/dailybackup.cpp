#include "dailybackup.h"

#include "firstpaint.h"

#include "core/errors.h"
#include "store/connection.h"
#include "schema/datasource.h"
#include "store/onlinebackup.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QThread>
#include <atomic>
#include <cstdio>

namespace {

constexpr int kDaysKept = 7;

// Set when the program closes and the backup under way has not ended within
// a short grace: it gives up instead of keeping a window-less program (and
// its single-instance guard) alive while a large ledger is copied.
std::atomic<bool> closing{false};
constexpr int kGraceAtCloseMs = 2000;

void tell(const QString& line)
{
    std::fprintf(stderr, "voucher: %s\n", line.toUtf8().constData());
}

void backUpToday(const QString& database)
{
    if (!QFileInfo::exists(database))
        return;
    const QDate today = QDate::currentDate();
    try {
        if (store::makeDailyBackup(database, today, &closing))
            tell(QStringLiteral("오늘의 백업: %1").arg(store::dailyBackupPath(database, today)));
    } catch (const AppError& e) {
        tell(QStringLiteral("오늘의 백업을 만들지 못했습니다: %1").arg(e.text()));
    }
    const QStringList kept = store::dailyBackups(database); // newest first
    for (qsizetype i = kDaysKept; i < kept.size(); ++i)
        QFile::remove(kept[i]);
}

} // namespace

void keepDailyBackup(QWidget* window)
{
    afterFirstPaint(window, [] {
        if (!store::Connection::hasAccount() || store::Connection::account().engine() != store::Engine::SQLite)
            return;
        // The program's embedded file is always the one in the user's data folder.
        QPointer<QThread> worker = QThread::create(backUpToday, store::defaultSqlitePath());
        QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, worker, [worker] {
            if (!worker || worker->wait(QDeadlineTimer(kGraceAtCloseMs)))
                return;
            closing = true;
            worker->wait();
        });
        worker->start(QThread::LowPriority);
    });
}
