#pragma once

#include "store/connection.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <QVector>

// Inserts many rows into one table fast: prepared multi-row INSERT
// statements, committed in large transactions, or inside the caller's one
// transaction when rowsPerTransaction is kInCallersTransaction.
class BulkInserter {
public:
    static constexpr int kInCallersTransaction = 0;
    BulkInserter(store::Connection& connection, const QString& table, const QStringList& columns,
                 int rowsPerTransaction = 50000);
    ~BulkInserter(); // rolls back what was not finished

    // One row, values in column order.
    void add(const QVector<QVariant>& row);
    // Writes what is buffered and commits.
    void finish();
    qint64 written() const { return m_written; }

private:
    QString insertText(int rows) const;
    void flush();
    void begin();
    void commit();

    store::Connection& m_connection;
    QString m_table;
    QStringList m_columns;
    int m_rowsPerStatement;
    int m_rowsPerTransaction;
    QSqlQuery m_multi;
    QVector<QVariant> m_buffer;
    int m_buffered = 0;
    qint64 m_written = 0;
    qint64 m_inTransaction = 0;
    bool m_open = false;
};
