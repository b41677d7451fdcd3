#include "writesession.h"

#include "bulkinserter.h"
#include "pgcopyin.h"
#include "pgsession.h"

#include "schema/datasource.h"

namespace admin {

WriteSession::WriteSession(store::Connection& target) : m_target(target)
{
    if (target.engine() == core::Engine::PostgreSQL) {
        m_pg = PgSession::openBeside(target, QString::fromLatin1(schema::kDataSourceName));
        m_pg->exec(QStringLiteral("BEGIN"));
    } else {
        m_odbc.emplace(target);
    }
}

WriteSession::~WriteSession() = default; // the session's end rolls an open transaction back

void WriteSession::exec(const QString& sql)
{
    if (m_pg)
        m_pg->exec(sql);
    else
        m_target.execNative(sql);
}

QVector<QStringList> WriteSession::select(const QString& sql)
{
    return m_pg ? m_pg->select(sql) : m_target.selectNative(sql);
}

qint64 WriteSession::countRows(const QString& table)
{
    return m_pg ? select(QStringLiteral("SELECT count(*) FROM %1").arg(table)).value(0).value(0).toLongLong()
                : admin::countRows(m_target, table);
}

std::unique_ptr<RowSink> WriteSession::inserter(const QString& table, const QStringList& columns)
{
    if (m_pg)
        return std::make_unique<PgCopyIn>(*m_pg, table, columns);
    return std::make_unique<BulkInserter>(m_target, table, columns, BulkInserter::kInCallersTransaction);
}

TableChecksum WriteSession::checksum(const QString& table, const QStringList& columns, const QString& what,
                                     qint64 expected)
{
    if (!m_pg)
        return checksumOf(m_target, table, columns, what);
    // The sum drops a fixed-width text's padding anyway: dropped as the
    // bytes arrive, it costs no text of its own.
    RowStream rows(*m_pg, QStringLiteral("SELECT %1 FROM %2").arg(columns.join(u','), table), RowStream::Padding::Dropped);
    return checksumOf(rows, columns.size(), expected, what);
}

void WriteSession::commit()
{
    if (m_pg)
        m_pg->commit();
    else
        m_odbc->commit();
}

namespace {

// A write session that holds the rows of one table alone and commits them at the end.
class CommittedRows : public RowSink {
public:
    CommittedRows(store::Connection& target, const QString& table, const QStringList& columns)
        : m_session(target), m_rows(m_session.inserter(table, columns))
    {
    }
    void add(const QVector<QVariant>& row) override { m_rows->add(row); }
    void finish() override
    {
        m_rows->finish();
        m_session.commit();
    }
    qint64 written() const override { return m_rows->written(); }

private:
    WriteSession m_session;
    std::unique_ptr<RowSink> m_rows;
};

} // namespace

std::unique_ptr<RowSink> tableWriter(store::Connection& target, const QString& table, const QStringList& columns)
{
    if (target.engine() == core::Engine::PostgreSQL)
        return std::make_unique<CommittedRows>(target, table, columns);
    return std::make_unique<BulkInserter>(target, table, columns);
}

} // namespace admin
