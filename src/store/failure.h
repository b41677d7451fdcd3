#pragma once

#include "core/engine.h"

#include <QSqlError>
#include <QString>

namespace store {

// What an engine error means for the clerk. Every error the store throws is
// sorted here, in one place, so that the clerk reads one Korean line that
// says what happened and what to do, above the engine's own text.
enum class Failure {
    LockWait,      // another session held a lock longer than the clerk waits
    SlowAnswer,    // a statement ran past its time limit and was stopped
    ServerLost,    // the server is gone or stopped answering
    ReadOnlyFile,  // the embedded database file (or its folder) cannot be written
    DiskFull,      // the disk holding the data (the file's, or the server's) has no room left
    MissingTables, // the data source has no voucher tables yet
    NoRights,      // the login may not read or write a table
    Other,
};

Failure classifyFailure(const QSqlError& error, const QString& engineText, core::Engine engine);

// The Korean line for a failure; `file` is the embedded database's path
// (empty for a server).
QString failureLine(Failure failure, const QString& file);

// The engine's own words for an error, as the clerk reads them beneath the
// Korean line: its database text, else Qt's whole text (the driver's words,
// when the engine said nothing).
QString engineText(const QSqlError& error);

// "<Korean line>\n<engine text>": the text of the DbError the clerk sees.
QString clerkFailureText(const QSqlError& error, const QString& engineText, core::Engine engine, const QString& file);

// The text of a failed connection: for a file, what the file's failure says;
// for a server, that it cannot be reached and what to do.
QString connectFailureText(const QSqlError& error, const QString& engineText, core::Engine engine, const QString& file);

} // namespace store
