#pragma once

#include "pgcopytext.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>
#include <optional>

namespace admin {

class PgSession;

// A SELECT read forward through the server's COPY (…) TO STDOUT on the
// admin tool's libpq connection, in its transaction: a row a message, no
// cursor to drive. The values come out as the ODBC block reader gives
// them for the same types, so that whatever is made of them (a table's
// checksum) does not depend on the way they were read.
class PgCopyOut {
public:
    // With `unpadded`, texts come without their trailing blanks.
    PgCopyOut(PgSession& session, const QString& sql, bool unpadded = false); // throws DbError
    ~PgCopyOut(); // a copy not read to its end is read off and dropped
    PgCopyOut(const PgCopyOut&) = delete;
    PgCopyOut& operator=(const PgCopyOut&) = delete;

    bool next(); // throws DbError
    // Made when first asked for: a pass that takes texts as bytes makes none.
    const QVariant& value(int column) const; // throws DbError
    // A text column's value as the UTF-8 bytes it came in; none for NULL or another type.
    std::optional<QByteArrayView> textBytes(int column) const;

private:
    void end();

    PgSession& m_session;
    QVector<PgValueKind> m_kinds;
    QVector<CopyField> m_fields;
    mutable QVector<QVariant> m_row;
    mutable QVector<bool> m_made;
    char* m_line = nullptr;
    bool m_unpadded;
    bool m_open = false;
};

} // namespace admin
