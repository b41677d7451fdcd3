#include "bulkinserter.h"

#include "core/errors.h"
#include "sqlutil.h"

#include <QSqlError>
#include <algorithm>

namespace {

// SQL Server takes at most 2100 parameters per statement; keep under it everywhere.
constexpr int kMaxParameters = 2000;

} // namespace

BulkInserter::BulkInserter(store::Connection& connection, const QString& table, const QStringList& columns,
                           int rowsPerTransaction)
    : m_connection(connection),
      m_table(table),
      m_columns(columns),
      m_rowsPerStatement(std::clamp(kMaxParameters / int(columns.size()), 1, 64)),
      m_rowsPerTransaction(rowsPerTransaction)
{
    m_multi = prepareNative(m_connection, insertText(m_rowsPerStatement));
    m_buffer.reserve(m_rowsPerStatement * columns.size());
}

BulkInserter::~BulkInserter()
{
    if (m_open)
        m_connection.database().rollback();
}

QString BulkInserter::insertText(int rows) const
{
    QStringList marks;
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        marks << QStringLiteral("?");
    const QString one = u'(' + marks.join(u',') + u')';
    QStringList values;
    for (int i = 0; i < rows; ++i)
        values << one;
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3").arg(m_table, m_columns.join(u','), values.join(u','));
}

void BulkInserter::add(const QVector<QVariant>& row)
{
    if (row.size() != m_columns.size())
        throw AppError(QStringLiteral("%1: 열 수가 맞지 않습니다.").arg(m_table));
    m_buffer += row;
    if (++m_buffered == m_rowsPerStatement)
        flush();
}

void BulkInserter::flush()
{
    if (m_buffered == 0)
        return;
    begin();
    if (m_buffered == m_rowsPerStatement) {
        for (int i = 0; i < m_buffer.size(); ++i)
            m_multi.bindValue(i, m_buffer[i]);
        execPrepared(m_connection, m_multi);
    } else {
        QSqlQuery tail = prepareNative(m_connection, insertText(m_buffered));
        for (int i = 0; i < m_buffer.size(); ++i)
            tail.bindValue(i, m_buffer[i]);
        execPrepared(m_connection, tail);
    }
    m_written += m_buffered;
    m_inTransaction += m_buffered;
    m_buffer.clear();
    m_buffered = 0;
    if (m_rowsPerTransaction != kInCallersTransaction && m_inTransaction >= m_rowsPerTransaction)
        commit();
}

void BulkInserter::begin()
{
    if (m_open || m_rowsPerTransaction == kInCallersTransaction)
        return;
    QSqlDatabase db = m_connection.database();
    if (!db.transaction())
        throw DbError(db.lastError().text());
    m_open = true;
    m_inTransaction = 0;
}

void BulkInserter::commit()
{
    if (!m_open)
        return;
    QSqlDatabase db = m_connection.database();
    m_open = false;
    if (!db.commit()) {
        const QString text = db.lastError().text();
        db.rollback();
        throw DbError(text);
    }
}

void BulkInserter::finish()
{
    flush();
    commit();
}
