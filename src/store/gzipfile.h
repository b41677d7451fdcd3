#pragma once

#include <QString>

#include <atomic>

// The daily backups are kept compressed (gzip, which zcat and gunzip read
// too): a ledger of two million rows is a 1.2 GB file, seven plain copies
// would fill a clerk's disk.
namespace store {

// Compresses the file at from into the new file to (made exclusively, 0600,
// on the disk when this returns). Gives up (throws, `to` removed) soon after
// *cancel turns true. Throws AppError.
void gzipFile(const QString& from, const QString& to, const std::atomic<bool>* cancel = nullptr);

// Whether the file begins as a gzip file does.
bool isGzipFile(const QString& path);

// Expands the gzip file at from into the new file to (0600). Throws AppError
// for a file that is cut short or damaged.
void gunzipFile(const QString& from, const QString& to);

} // namespace store
