#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// Copies of the embedded database through SQLite's online backup: a
// snapshot of one moment even while a workstation writes (a plain file copy
// of a database with a write-ahead log is not). Used by voucher-admin's
// backup and restore and by the program's own daily backup.
namespace store {

struct BackupSummary {
    qint64 voucherRows = 0;
    qint64 accounts = 0;
    qint64 bytes = 0;
};

// Copies the database at source into the new file target, made in a private
// folder beside it and renamed when whole and sound (integrity check); with
// `compressed` the sound copy is gzip-compressed before it takes the name.
// Never overwrites a file nor writes through a name that is not the user's
// own (store/privatefiles.h). Throws AppError.
// With `cancel`, the copy goes a few pages at a time and gives up (throws,
// leaving no file) soon after *cancel turns true: a program that is closing
// does not wait for the backup of a large ledger.
// With `progress`, it goes a few pages at a time too and tells the pages
// copied and all the pages after each step (a large ledger takes seconds).
using BackupProgress = std::function<void(qint64 pagesCopied, qint64 pages)>;
BackupSummary backupSqliteFile(const QString& source, const QString& target,
                               const std::atomic<bool>* cancel = nullptr, bool compressed = false,
                               const BackupProgress& progress = {});

// Whether a process other than this one has the database at path open:
// every connection in WAL mode holds a shared lock on the log's index
// (path + "-shm") for as long as it is open.
bool sqliteFileInUse(const QString& path);

// Copies the backup file's pages into the database at target in one write
// transaction: all of it or nothing. The backup is checked first (sound and
// holding the voucher table), the result after. A gzip-compressed backup (the
// daily ones) is expanded into a private file first. Throws AppError.
// `beforeWriting`, given the file the pages come from (a compressed backup's
// expanded copy) and its counts once it is found sound, has the
// last word before the target is opened: what it throws refuses the restore
// with nothing written.
BackupSummary restoreSqliteFile(const QString& backup, const QString& target,
                                const std::function<void(const QString& sound, const BackupSummary& counts)>& beforeWriting = {});

} // namespace store
