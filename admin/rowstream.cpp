#include "rowstream.h"

#include "sqlutil.h"

namespace admin {

RowStream::RowStream(store::Connection& connection, const QString& sql, const QStringList& bound)
{
    if (connection.engine() == core::Engine::PostgreSQL)
        m_block = OdbcBlockReader::open(connection, sql, bound);
    if (m_block)
        return;
    if (connection.engine() == core::Engine::SQLite) {
        m_sqlite = std::make_unique<SqliteRowReader>(connection, sql, bound);
        return;
    }
    m_query = prepareNative(connection, sql);
    m_query.setForwardOnly(true);
    for (qsizetype i = 0; i < bound.size(); ++i)
        m_query.bindValue(int(i), bound[i]);
    execPrepared(connection, m_query);
}

RowStream::RowStream(PgSession& session, const QString& sql, Padding padding)
    : m_copy(std::make_unique<PgCopyOut>(session, sql, padding == Padding::Dropped))
{
}

bool RowStream::next()
{
    return m_block ? m_block->next() : m_copy ? m_copy->next() : m_sqlite ? m_sqlite->next() : m_query.next();
}

} // namespace admin
