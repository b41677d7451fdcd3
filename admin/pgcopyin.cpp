#include "pgcopyin.h"

#include "pgcopytext.h"
#include "pgsession.h"

#include "core/errors.h"

#include <libpq-fe.h>

namespace admin {

namespace {

// Bytes handed to libpq at a time: large enough that a call costs nothing
// beside the rows, small enough to keep memory flat.
constexpr qsizetype kPiece = 256 * 1024;

} // namespace

PgCopyIn::PgCopyIn(PgSession& session, const QString& table, const QStringList& columns)
    : m_session(session), m_table(table), m_columns(columns.size())
{
    const QString sql = QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(u','));
    PGresult* result = PQexec(session.handle(), sql.toUtf8().constData());
    if (PQresultStatus(result) != PGRES_COPY_IN)
        session.fail(result);
    PQclear(result);
    m_buffer.reserve(kPiece + 64 * 1024);
}

PgCopyIn::~PgCopyIn()
{
    if (!m_open)
        return;
    PQputCopyEnd(m_session.handle(), "abandoned");
    while (PGresult* result = PQgetResult(m_session.handle()))
        PQclear(result);
}

void PgCopyIn::add(const QVector<QVariant>& row)
{
    if (row.size() != m_columns)
        throw core::AppError(QStringLiteral("%1: 열 수가 맞지 않습니다.").arg(m_table));
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (i > 0)
            m_buffer += '\t';
        appendCopyValue(m_buffer, row[i]);
    }
    m_buffer += '\n';
    ++m_written;
    if (m_buffer.size() >= kPiece)
        send();
}

void PgCopyIn::send()
{
    if (!m_buffer.isEmpty() && PQputCopyData(m_session.handle(), m_buffer.constData(), int(m_buffer.size())) != 1)
        m_session.fail();
    m_buffer.clear();
}

void PgCopyIn::finish()
{
    send();
    m_open = false;
    if (PQputCopyEnd(m_session.handle(), nullptr) != 1)
        m_session.fail();
    m_session.finishCopy();
}

} // namespace admin
