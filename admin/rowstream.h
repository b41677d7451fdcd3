#pragma once

#include "odbcblockreader.h"
#include "pgcopyout.h"
#include "sqliterowreader.h"

#include "store/connection.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

namespace admin {

// The rows of one SELECT, read forward once by the admin tool's long
// passes: from a PostgreSQL server in blocks of rows through ODBC, or
// through COPY on the tool's libpq connection, from the embedded file
// through SQLite's own statement, from any other engine through Qt's query.
// The values are the same either way.
class RowStream {
public:
    // Runs it with the texts bound to its markers in order; throws DbError.
    RowStream(store::Connection& connection, const QString& sql, const QStringList& bound = {});
    // A pass that evens padding out anyway may take texts without it.
    enum class Padding { Kept, Dropped };
    RowStream(PgSession& session, const QString& sql, Padding padding = Padding::Kept);
    bool next();
    QVariant value(int column) const
    {
        return m_block ? m_block->value(column)
               : m_copy ? m_copy->value(column)
               : m_sqlite ? m_sqlite->value(column)
                          : m_query.value(column);
    }
    // A text value as the UTF-8 bytes it came in, where it came so (COPY,
    // the embedded file): a pass that wants bytes then makes no text of them.
    std::optional<QByteArrayView> textBytes(int column) const
    {
        return m_copy ? m_copy->textBytes(column) : m_sqlite ? m_sqlite->textBytes(column) : std::nullopt;
    }

private:
    std::unique_ptr<OdbcBlockReader> m_block;
    std::unique_ptr<PgCopyOut> m_copy;
    std::unique_ptr<SqliteRowReader> m_sqlite;
    QSqlQuery m_query;
};

} // namespace admin
