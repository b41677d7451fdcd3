#include "sqliterowreader.h"

#include "sqlutil.h"

#include "core/errors.h"

#include <sqlite3.h>

namespace admin {

namespace {

[[noreturn]] void fail(sqlite3* db)
{
    throw core::DbError(QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

SqliteRowReader::SqliteRowReader(store::Connection& connection, const QString& sql, const QStringList& bound)
{
    sqlite3* db = sqliteHandle(connection);
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &m_statement, nullptr) != SQLITE_OK)
        fail(db);
    for (qsizetype i = 0; i < bound.size(); ++i) {
        const QByteArray text = bound[i].toUtf8();
        if (sqlite3_bind_text(m_statement, int(i) + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT) != SQLITE_OK)
            fail(db);
    }
}

SqliteRowReader::~SqliteRowReader()
{
    sqlite3_finalize(m_statement);
}

bool SqliteRowReader::next()
{
    switch (sqlite3_step(m_statement)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default:
        fail(sqlite3_db_handle(m_statement));
    }
}

QVariant SqliteRowReader::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
        return QByteArray(bytes, sqlite3_column_bytes(m_statement, column));
    }
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column));
    }
    }
}

std::optional<QByteArrayView> SqliteRowReader::textBytes(int column) const
{
    if (sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
        return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QByteArrayView(text, sqlite3_column_bytes(m_statement, column));
}

} // namespace admin
