#pragma once

#include <QString>
#include <QStringList>

namespace store {

// A clerk's books are for that clerk alone: the folder of the embedded
// database is closed to other users (0700) and every file of it, the
// database, its -wal and -shm and any copy or backup made of it, is 0600.
// Whatever writes such a file goes through here.

// Makes the folder (and missing parents) and takes away the access of
// others to it when it is the user's own. False when it cannot be made.
bool makePrivateFolder(const QString& path);

// Creates the file empty and 0600 when it is missing. SQLite gives the
// -wal and -shm it makes the database file's mode, so creating the file so
// before SQLite opens it keeps them private too.
bool createPrivateFile(const QString& path);

// For a file of the user's own: takes away the access of others (files
// made 0644 by earlier versions). With ownerWrites the owner gets write
// access back too (a -shm left read-only by a read-only run).
void keepPrivate(const QString& path, bool ownerWrites = false);

// The database file and the files SQLite keeps beside it.
QStringList embeddedFiles(const QString& databasePath);

// Every other file the program and its tools write (backups, exports, their
// parts) is made new in a folder of its own and takes its name only when
// whole; a name prepared by someone else (a file planted in /tmp, a symbolic
// link to another of the user's files) never receives the books.

// Throws AppError naming path when it exists as anything but a regular file
// of the user's own (a symbolic link, another user's file, a folder).
void refuseForeignName(const QString& path);

// A private folder (0700, unpredictable name) made beside a file to be
// written, so that every part of it (SQLite's journal too) is made where
// nobody else can prepare a name. Removed with what it holds when it goes.
class PrivateWorkFolder {
public:
    explicit PrivateWorkFolder(const QString& besideFile); // throws AppError
    ~PrivateWorkFolder();
    PrivateWorkFolder(const PrivateWorkFolder&) = delete;
    PrivateWorkFolder& operator=(const PrivateWorkFolder&) = delete;
    QString filePath(const QString& name) const;

private:
    QString m_path;
};

enum class ExistingName { Refuse, ReplaceOwn };

// Gives the finished file `made` (in a work folder beside target) the name
// target. With Refuse an existing target is never replaced (checked by the
// rename itself where the file system can); with ReplaceOwn only a regular
// file of the user's own is. Throws AppError.
void moveIntoPlace(const QString& made, const QString& target, ExistingName existing);

// Writes bytes to the file target (0600) whole or not at all, as above.
void writePrivateFile(const QString& target, const QByteArray& bytes, ExistingName existing);

// Flushes a finished file to the disk before it takes its name: a power cut
// after the rename leaves the whole file, not an empty one.
void syncFile(const QString& path);

} // namespace store
