#pragma once

#include "rowsink.h"
#include "sqlutil.h"
#include "tablechecksum.h"

#include "store/connection.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

namespace admin {

class PgSession;

// The one transaction in which a command writes many rows into a target
// (copy, import), and everything that must see those rows before the
// commit: the deletions before them, the reads that prove them. On a
// PostgreSQL server all of it runs on a libpq connection of its own to the
// same server as the same login, where the rows go in by COPY; on any
// other engine on the target's own connection. Destroyed without commit(),
// it rolls back: the target keeps what it held.
class WriteSession {
public:
    // Throws AppError when the libpq connection cannot be opened: nothing
    // then writes otherwise than it says.
    explicit WriteSession(store::Connection& target);
    ~WriteSession();
    WriteSession(const WriteSession&) = delete;
    WriteSession& operator=(const WriteSession&) = delete;

    void exec(const QString& sql);
    // Every row, each column as text without trailing blanks.
    QVector<QStringList> select(const QString& sql);
    qint64 countRows(const QString& table);
    // The fastest way in for the table's rows, in this transaction.
    std::unique_ptr<RowSink> inserter(const QString& table, const QStringList& columns);
    // The table's rows as they stand in this transaction, told as `what`
    // against the `expected` rows.
    TableChecksum checksum(const QString& table, const QStringList& columns, const QString& what, qint64 expected);
    void commit();

private:
    store::Connection& m_target;
    std::unique_ptr<PgSession> m_pg;
    std::optional<AdminTransaction> m_odbc;
};

// The rows of one table, written and committed on their own (synth): by
// COPY in a transaction of their own on a PostgreSQL server, by
// BulkInserter's batches elsewhere.
std::unique_ptr<RowSink> tableWriter(store::Connection& target, const QString& table, const QStringList& columns);

} // namespace admin
