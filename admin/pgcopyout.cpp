#include "pgcopyout.h"

#include "pgsession.h"

#include "core/errors.h"

#include <libpq-fe.h>

namespace admin {

PgCopyOut::PgCopyOut(PgSession& session, const QString& sql, bool unpadded) : m_session(session), m_unpadded(unpadded)
{
    for (const unsigned type : session.columnTypes(sql))
        m_kinds << pgValueKind(type);
    m_fields.resize(m_kinds.size());
    m_row.resize(m_kinds.size());
    m_made.resize(m_kinds.size());
    PGresult* result = PQexec(session.handle(), QStringLiteral("COPY (%1) TO STDOUT").arg(sql).toUtf8().constData());
    if (PQresultStatus(result) != PGRES_COPY_OUT)
        session.fail(result);
    PQclear(result);
    m_open = true;
}

PgCopyOut::~PgCopyOut()
{
    PQfreemem(m_line);
    if (!m_open)
        return;
    // A copy out ends only read off: asked to stop first, the server sends little more.
    if (PGcancel* cancel = PQgetCancel(m_session.handle())) {
        char why[256];
        PQcancel(cancel, why, int(sizeof why));
        PQfreeCancel(cancel);
    }
    char* line = nullptr;
    while (PQgetCopyData(m_session.handle(), &line, 0) > 0)
        PQfreemem(line);
    while (PGresult* result = PQgetResult(m_session.handle()))
        PQclear(result);
}

bool PgCopyOut::next()
{
    PQfreemem(m_line);
    m_line = nullptr;
    if (!m_open)
        return false;
    const int length = PQgetCopyData(m_session.handle(), &m_line, 0);
    if (length < 0) {
        end();
        return false;
    }
    if (!splitCopyLine(m_line, length, m_fields.data(), int(m_fields.size())))
        throw core::DbError(QStringLiteral("서버가 준 행의 값이 %1개가 아닙니다.").arg(m_fields.size()));
    m_made.fill(false);
    return true;
}

const QVariant& PgCopyOut::value(int column) const
{
    if (!m_made[column]) {
        m_row[column] = pgValue(m_kinds[column], m_fields[column], m_unpadded);
        m_made[column] = true;
    }
    return m_row[column];
}

std::optional<QByteArrayView> PgCopyOut::textBytes(int column) const
{
    const CopyField& field = m_fields[column];
    if (m_kinds[column] != PgValueKind::Text || field.length < 0)
        return std::nullopt;
    return QByteArrayView(field.data, m_unpadded ? unpaddedLength(field.data, field.length) : field.length);
}

void PgCopyOut::end()
{
    m_open = false;
    m_session.finishCopy();
}

} // namespace admin
