#pragma once

#include "store/connection.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

struct sqlite3_stmt;

namespace admin {

// A SELECT read forward on the embedded file through SQLite's own statement,
// on the connection Qt opened (the same transaction). Qt's driver makes
// every text UTF-16 twice over and keeps a copy of each row; here a value is
// made only when asked for, as Qt's driver would give it (integers as
// qlonglong, reals as double, texts as QString, NULL as a null QString), and
// a text may be taken as the UTF-8 bytes the file holds.
class SqliteRowReader {
public:
    // Runs the statement with the texts bound to its markers in order;
    // throws DbError with SQLite's text when it cannot.
    SqliteRowReader(store::Connection& connection, const QString& sql, const QStringList& bound = {});
    ~SqliteRowReader();
    SqliteRowReader(const SqliteRowReader&) = delete;
    SqliteRowReader& operator=(const SqliteRowReader&) = delete;

    // The next row; false after the last. Throws DbError.
    bool next();
    QVariant value(int column) const;
    // A text value's UTF-8 bytes, valid until next(); none for other values.
    std::optional<QByteArrayView> textBytes(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
};

} // namespace admin
