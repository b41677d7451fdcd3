#include "dailybackup.h"

#include "firstpaint.h"

#include "core/errors.h"
#include "schema/datasource.h"
#include "store/backupstate.h"
#include "store/connection.h"
#include "store/dailybackups.h"
#include "widgets/messages.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QThread>
#include <cstdio>

namespace shell {

namespace {

// The day's first copy, made beside the clerk's work, and the database it copies.
QPointer<QThread> startCopy;
QString copiedDatabase;

void backUp(const QString& database, store::DailyMoment moment)
{
    if (!QFileInfo::exists(database))
        return;
    // Each outcome is also recorded beside the file for the next start's notice.
    for (const QString& line : store::makeDailyBackups(database, QDateTime::currentDateTime(), moment))
        std::fprintf(stderr, "voucher: %s\n", line.toUtf8().constData());
}

void warnOfStaleBackups(QWidget* window, const QString& database)
{
    const QStringList lines = store::backupWarnings(database, store::backupPlaces(database), QDateTime::currentDateTime());
    if (lines.isEmpty())
        return;
    auto* box = new QMessageBox(QMessageBox::Warning, widgets::kProgramName,
                                QStringLiteral("장부의 백업을 확인하십시오.\n\n%1\n\n관리자에게 알려 주십시오 "
                                               "(voucher-admin status가 백업 장소마다 마지막 백업을 보여 줍니다).")
                                    .arg(lines.join(u'\n')),
                                QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open(); // the clerk goes on working meanwhile
}

} // namespace

void keepDailyBackup(QWidget* window)
{
    afterFirstPaint(window, [window] {
        if (!store::Connection::hasAccount() || store::Connection::account().engine() != core::Engine::SQLite)
            return;
        // The program's embedded file is always the one in the user's data folder.
        const QString database = schema::defaultSqlitePath();
        warnOfStaleBackups(window, database);
        copiedDatabase = database;
        startCopy = QThread::create(backUp, database, store::DailyMoment::Start);
        QObject::connect(startCopy, &QThread::finished, startCopy, &QObject::deleteLater);
        startCopy->start(QThread::LowPriority);
    });
}

void finishDailyBackup()
{
    if (copiedDatabase.isEmpty())
        return;
    if (startCopy)
        startCopy->wait();
    backUp(copiedDatabase, store::DailyMoment::Close);
}

} // namespace shell
