#include "dailybackups.h"

#include "backupstate.h"
#include "core/errors.h"
#include "onlinebackup.h"
#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QRegularExpression>

#include <algorithm>

namespace store {

namespace {

constexpr int kDaysKept = 7;
constexpr qint64 kChunk = 1 << 20;

QString baseName(const QString& databasePath) { return QFileInfo(databasePath).completeBaseName(); }

// "Account-2024-03-05.db.gz" (the day's first copy), "Account-2024-03-05-183012.db.gz"
// (one at close); plain ".db" ones were made by earlier versions.
QRegularExpression copyName(const QString& databasePath)
{
    return QRegularExpression(QStringLiteral("^%1-(\\d{4}-\\d{2}-\\d{2})(-\\d{6})?\\.db(\\.gz)?$")
                                  .arg(QRegularExpression::escape(baseName(databasePath))));
}

QString copyPath(const QString& databasePath, const QString& place, const QDateTime& now, DailyMoment moment)
{
    const QString time = moment == DailyMoment::Close ? now.toString(QStringLiteral("-HHmmss")) : QString();
    return QDir(place).filePath(baseName(databasePath) + u'-' + now.date().toString(Qt::ISODate) + time
                                + QStringLiteral(".db.gz"));
}

// Copies a finished copy to another place, whole or not at all.
void copyFile(const QString& from, const QString& target, const std::atomic<bool>* cancel)
{
    refuseForeignName(target);
    const PrivateWorkFolder work(target);
    QFile in(from);
    QFile out(work.filePath(QStringLiteral("part")));
    if (!in.open(QIODevice::ReadOnly))
        throw core::AppError(QStringLiteral("%1을(를) 읽을 수 없습니다: %2").arg(from, in.errorString()));
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner))
        throw core::AppError(QStringLiteral("%1을(를) 만들 수 없습니다: %2").arg(target, out.errorString()));
    while (!in.atEnd()) {
        if (cancel && cancel->load())
            throw core::AppError(QStringLiteral("백업을 그만두었습니다."));
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            throw core::AppError(QStringLiteral("%1에 쓸 수 없습니다: %2").arg(target, out.errorString()));
    }
    if (!out.flush())
        throw core::AppError(QStringLiteral("%1에 쓸 수 없습니다: %2").arg(target, out.errorString()));
    out.close();
    syncFile(out.fileName());
    moveIntoPlace(out.fileName(), target, ExistingName::Refuse);
}

void preparePlace(const QString& databasePath, const QString& place)
{
    if (place == dailyBackupFolder(databasePath)) {
        if (!makePrivateFolder(place))
            throw core::AppError(QStringLiteral("백업 폴더를 만들 수 없습니다: %1").arg(place));
    } else if (!QFileInfo(place).isDir()) { // an unplugged disk: never a folder on the local one instead
        throw core::AppError(QStringLiteral("폴더가 없습니다 (디스크나 네트워크 폴더가 연결되어 있는지 확인하십시오)"));
    }
}

// A commit since the copy shows in the log (or, once checkpointed, in the
// file). Opening the file makes an empty log, which is no change; a
// checkpoint of commits older than the copy makes at worst one copy too many.
bool booksChangedSince(const QString& databasePath, const QDateTime& copied)
{
    const QFileInfo log(databasePath + QStringLiteral("-wal"));
    return !copied.isValid() || QFileInfo(databasePath).lastModified() > copied
           || (log.size() > 0 && log.lastModified() > copied);
}

bool hasCopyOfDay(const QString& databasePath, const QString& place, QDate day)
{
    const QRegularExpression name = copyName(databasePath);
    for (const QString& path : dailyBackups(databasePath, place))
        if (name.match(QFileInfo(path).fileName()).captured(1) == day.toString(Qt::ISODate))
            return true;
    return false;
}

// Seven days in a place, each day's first and last copy; the kept ones closed to others.
void prune(const QString& databasePath, const QString& place)
{
    const QRegularExpression name = copyName(databasePath);
    QMap<QString, QStringList> byDay; // newest copy first within a day
    for (const QString& path : dailyBackups(databasePath, place))
        byDay[name.match(QFileInfo(path).fileName()).captured(1)] << path;
    qsizetype daysNewerThan = byDay.size();
    for (auto day = byDay.cbegin(); day != byDay.cend(); ++day, --daysNewerThan)
        for (qsizetype i = 0; i < day->size(); ++i) {
            const bool kept = daysNewerThan <= kDaysKept && (i == 0 || i == day->size() - 1);
            if (kept)
                keepPrivate(day->at(i));
            else
                QFile::remove(day->at(i));
        }
}

} // namespace

QString dailyBackupFolder(const QString& databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backup"));
}

QStringList backupPlaces(const QString& databasePath)
{
    QStringList places{dailyBackupFolder(databasePath)};
    if (const QString second = secondBackupPlace(databasePath); !second.isEmpty())
        places << second;
    return places;
}

QString dailyBackupPath(const QString& databasePath, QDate day, const QString& place)
{
    return copyPath(databasePath, place.isEmpty() ? dailyBackupFolder(databasePath) : place, QDateTime(day, QTime()),
                    DailyMoment::Start);
}

QStringList dailyBackups(const QString& databasePath, const QString& place)
{
    const QDir folder(place.isEmpty() ? dailyBackupFolder(databasePath) : place);
    const QRegularExpression name = copyName(databasePath);
    // Day, then time of day (the day's first copy has none) orders them.
    QMap<QString, QString> byTime;
    for (const QString& file : folder.entryList(QDir::Files)) {
        const QRegularExpressionMatch m = name.match(file);
        if (m.hasMatch())
            byTime.insert(m.captured(1) + u' ' + m.captured(2) + u' ' + file, folder.filePath(file));
    }
    QStringList newestFirst = byTime.values();
    std::reverse(newestFirst.begin(), newestFirst.end());
    return newestFirst;
}

QStringList makeDailyBackups(const QString& databasePath, const QDateTime& now, DailyMoment moment,
                             const std::atomic<bool>* cancel)
{
    // One process copies at a time: a program that ended its window and
    // still copies, and a new start beside it, would make the same copy.
    QLockFile copying(QFileInfo(databasePath).absoluteDir().filePath(baseName(databasePath) + QStringLiteral("-backup.lock")));
    if (!copying.tryLock(0))
        return {};
    QStringList lines;
    QString made; // this round's copy: later places get the same file
    for (const QString& place : backupPlaces(databasePath)) {
        const QString target = copyPath(databasePath, place, now, moment);
        if (moment == DailyMoment::Start ? hasCopyOfDay(databasePath, place, now.date())
                                         : !booksChangedSince(databasePath, backupRecord(databasePath, place).lastGood))
            continue;
        if (QFileInfo::exists(target)) // a close within the same second
            continue;
        try {
            preparePlace(databasePath, place);
            if (made.isEmpty())
                backupSqliteFile(databasePath, target, cancel, true);
            else
                copyFile(made, target, cancel);
            made = target;
            lines << QStringLiteral("오늘의 백업: %1").arg(target);
            recordBackupAttempt(databasePath, place, now, target, {});
        } catch (const core::AppError& e) {
            if (cancel && cancel->load())
                break;
            lines << QStringLiteral("%1에 백업을 만들지 못했습니다: %2").arg(place, e.text());
            try {
                recordBackupAttempt(databasePath, place, now, {}, e.text());
            } catch (const core::AppError& unrecorded) {
                lines << unrecorded.text();
            }
        }
        prune(databasePath, place);
    }
    return lines;
}

} // namespace store
