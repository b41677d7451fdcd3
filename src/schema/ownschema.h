#pragma once

#include <QString>
#include <QStringList>

namespace schema {

// What an embedded file holds beyond the program's own tables, columns and
// indexes, as createSchema() makes them today: a trigger, a view, a table or
// index the program does not make, a column its table does not have. Each
// is named for the administrator ("트리거 x (account_jen_AA)", "열
// account_jen_AA.y"); empty when there is none. Only extras count: a file of
// an earlier version that lacks an index added since is the program's own.
// The file is only read. Throws DbError when it cannot be read.
QStringList foreignSchemaObjects(const QString& sqliteFile);

} // namespace schema
