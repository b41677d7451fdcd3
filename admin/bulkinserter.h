#pragma once

#include "rowsink.h"

#include "store/connection.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <QVector>

struct sqlite3_stmt;

namespace admin {

// Inserts many rows into one table fast, committed in large transactions, or
// inside the caller's one transaction when rowsPerTransaction is
// kInCallersTransaction. Binding a value through Qt costs more than the
// engine's work for it, so the embedded file gets its rows through SQLite's
// own statement, bound as Qt binds them; any other engine bound multi-row
// statements. (A PostgreSQL server takes its rows by COPY: tableWriter().)
class BulkInserter : public RowSink {
public:
    static constexpr int kInCallersTransaction = 0;
    enum class Path { Parameters, SqliteRows };
    BulkInserter(store::Connection& connection, const QString& table, const QStringList& columns,
                 int rowsPerTransaction = 50000);
    ~BulkInserter() override; // rolls back what was not finished

    // One row, values in column order.
    void add(const QVector<QVariant>& row) override;
    // Writes what is buffered and commits.
    void finish() override;
    qint64 written() const override { return m_written; }

private:
    QString insertText(int rows) const;
    void flush();
    void writeParameters();
    void writeSqliteRows();
    void begin();
    void commit();

    store::Connection& m_connection;
    QString m_table;
    QStringList m_columns;
    Path m_path;
    int m_rowsPerStatement;
    sqlite3_stmt* m_sqliteRow = nullptr;
    int m_rowsPerTransaction;
    QSqlQuery m_multi;
    QVector<QVariant> m_buffer;
    int m_buffered = 0;
    qint64 m_written = 0;
    qint64 m_inTransaction = 0;
    bool m_open = false;
};

} // namespace admin
