#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// What an office decided about its daily backups and what became of them,
// in two small private files beside the embedded database: the second place
// for the copies (another disk or a network folder, named with voucher-admin
// backup-place) and each place's last attempt, so that the next start can
// tell the clerk when the copies stopped.
namespace store {

struct PlaceRecord {
    QDateTime lastGood;   // when the last sound copy was begun
    QString lastGoodFile;
    QDateTime lastAttempt;
    QString error;        // of the last attempt; empty when it made its copy
};

// The second place; empty when none is named.
QString secondBackupPlace(const QString& databasePath);
// Names the second place (an empty folder clears it). Throws AppError.
void setSecondBackupPlace(const QString& databasePath, const QString& folder);

PlaceRecord backupRecord(const QString& databasePath, const QString& place);
// Throws AppError when the state file cannot be written.
void recordBackupAttempt(const QString& databasePath, const QString& place, const QDateTime& started,
                         const QString& file, const QString& error);

// A line for each of the given places whose last attempt failed or whose
// last sound copy is older than two days at `now`, naming the place and the
// cause.
QStringList backupWarnings(const QString& databasePath, const QStringList& places, const QDateTime& now);

} // namespace store
