#pragma once

#include "rowsink.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace admin {

class PgSession;

// Rows written into one table by the server's COPY … FROM STDIN on the
// admin tool's libpq connection, inside the transaction open there: the
// server's own bulk path, a fraction of what any INSERT through ODBC costs.
// Rows go out in large pieces as they come; finish() ends the copy and
// reports the server's refusal of any row (the transaction is then spoilt).
class PgCopyIn : public RowSink {
public:
    PgCopyIn(PgSession& session, const QString& table, const QStringList& columns); // throws DbError
    ~PgCopyIn() override; // a copy not finished is cancelled
    void add(const QVector<QVariant>& row) override;
    void finish() override;
    qint64 written() const override { return m_written; }

private:
    void send();

    PgSession& m_session;
    QString m_table;
    qsizetype m_columns;
    QByteArray m_buffer;
    qint64 m_written = 0;
    bool m_open = true;
};

} // namespace admin
