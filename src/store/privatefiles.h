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

} // namespace store
