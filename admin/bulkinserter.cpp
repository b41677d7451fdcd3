#include "bulkinserter.h"

#include "core/errors.h"
#include "sqlutil.h"

#include <QDateTime>
#include <QSqlError>
#include <sqlite3.h>
#include <algorithm>

namespace admin {

namespace {

// SQL Server takes at most 2100 parameters per statement; keep under it everywhere.
constexpr int kMaxParameters = 2000;
constexpr int kRowsPerBatch = 256; // rows written at once by SQLite's statement

BulkInserter::Path pathFor(core::Engine engine)
{
    switch (engine) {
    case core::Engine::SQLite:
        return BulkInserter::Path::SqliteRows;
    default:
        return BulkInserter::Path::Parameters;
    }
}

// As Qt's SQLite driver binds a value, so that a row stores the same either way.
int bindSqlite(sqlite3_stmt* statement, int at, const QVariant& value)
{
    if (value.isNull())
        return sqlite3_bind_null(statement, at);
    const auto text = [&](const QString& s) {
        return sqlite3_bind_text16(statement, at, s.utf16(), int(s.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
    };
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::Bool:
        return sqlite3_bind_int(statement, at, value.toInt());
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(statement, at, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, at, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(statement, at, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    case QMetaType::QDateTime:
        return text(value.toDateTime().toString(Qt::ISODateWithMs));
    case QMetaType::QTime:
        return text(value.toTime().toString(QStringLiteral("hh:mm:ss.zzz")));
    default:
        return text(value.toString());
    }
}

} // namespace

BulkInserter::BulkInserter(store::Connection& connection, const QString& table, const QStringList& columns,
                           int rowsPerTransaction)
    : m_connection(connection),
      m_table(table),
      m_columns(columns),
      m_path(pathFor(connection.engine())),
      m_rowsPerStatement(m_path == Path::Parameters ? std::clamp(kMaxParameters / int(columns.size()), 1, 64) : kRowsPerBatch),
      m_rowsPerTransaction(rowsPerTransaction)
{
    if (m_path == Path::Parameters) {
        m_multi = prepareNative(m_connection, insertText(m_rowsPerStatement));
    } else if (m_path == Path::SqliteRows) {
        sqlite3* db = sqliteHandle(m_connection);
        if (sqlite3_prepare_v2(db, insertText(1).toUtf8().constData(), -1, &m_sqliteRow, nullptr) != SQLITE_OK)
            throw core::DbError(QString::fromUtf8(sqlite3_errmsg(db)));
    }
    m_buffer.reserve(m_rowsPerStatement * columns.size());
}

BulkInserter::~BulkInserter()
{
    sqlite3_finalize(m_sqliteRow);
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
        throw core::AppError(QStringLiteral("%1: 열 수가 맞지 않습니다.").arg(m_table));
    m_buffer += row;
    if (++m_buffered == m_rowsPerStatement)
        flush();
}

void BulkInserter::flush()
{
    if (m_buffered == 0)
        return;
    begin();
    switch (m_path) {
    case Path::Parameters:
        writeParameters();
        break;
    case Path::SqliteRows:
        writeSqliteRows();
        break;
    }
    m_written += m_buffered;
    m_inTransaction += m_buffered;
    m_buffer.clear();
    m_buffered = 0;
    if (m_rowsPerTransaction != kInCallersTransaction && m_inTransaction >= m_rowsPerTransaction)
        commit();
}

void BulkInserter::writeParameters()
{
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
}

void BulkInserter::writeSqliteRows()
{
    const int columns = int(m_columns.size());
    for (int row = 0; row < m_buffered; ++row) {
        int rc = SQLITE_OK;
        for (int i = 0; i < columns && rc == SQLITE_OK; ++i)
            rc = bindSqlite(m_sqliteRow, i + 1, m_buffer[row * columns + i]);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(m_sqliteRow);
        sqlite3_reset(m_sqliteRow);
        if (rc != SQLITE_DONE) {
            const QString text = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_sqliteRow)));
            throw core::DbError(QStringLiteral("%1 (%2)").arg(text, m_table));
        }
    }
}

void BulkInserter::begin()
{
    if (m_open || m_rowsPerTransaction == kInCallersTransaction)
        return;
    QSqlDatabase db = m_connection.database();
    if (!db.transaction())
        throw core::DbError(db.lastError().text());
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
        throw core::DbError(text);
    }
}

void BulkInserter::finish()
{
    flush();
    commit();
}

} // namespace admin
