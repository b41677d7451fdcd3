#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>

// The program's daily copies of its embedded file, gzip-compressed, in the
// folder `backup` beside it and in the office's second place when one is
// named (store/backupstate.h): the day's first copy at the first start of a
// day, another at close when the day's work changed the books; the last
// seven days are kept in each place.
namespace store {

QString dailyBackupFolder(const QString& databasePath);
// The places the copies go to: the folder beside the file, then the second place.
QStringList backupPlaces(const QString& databasePath);
// The day's first copy in a place (the folder beside the file when none is given).
QString dailyBackupPath(const QString& databasePath, QDate day, const QString& place = {});
// The copies in a place (the plain ones of earlier versions too), newest first.
QStringList dailyBackups(const QString& databasePath, const QString& place = {});

enum class DailyMoment { Start, Close };

// Makes the copy of the moment in every place where it is due (at Start: no
// copy of the day there yet; at Close: the books changed since the place's
// last sound copy), records each attempt and keeps seven days, each day's
// first and last copy. Returns a line per copy made or failed. A copy given
// up because *cancel turned true leaves nothing and no record. Makes nothing
// while another process makes its copies of the same file.
QStringList makeDailyBackups(const QString& databasePath, const QDateTime& now, DailyMoment moment,
                             const std::atomic<bool>* cancel = nullptr);

} // namespace store
