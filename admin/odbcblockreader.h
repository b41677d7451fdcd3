#pragma once

#include "store/connection.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

namespace admin {

// A SELECT read forward on an ODBC connection a block of rows at a time:
// its own statement on the connection Qt opened (the same transaction and
// snapshot), every column bound once to an array, so that a block costs the
// driver one call instead of one per value. The values come out as Qt's
// ODBC driver would give them (texts as they are, padding included; numbers
// as double or integer; times as QDateTime; NULL as Qt's driver gives it), so
// what is made of them does not depend on the way they were read.
class OdbcBlockReader {
public:
    // Runs the statement with the texts bound to its markers in order.
    // Returns nullptr when a result column is of a kind it does not bind
    // (the caller reads through Qt then); throws DbError with the driver's
    // text when the statement fails.
    static std::unique_ptr<OdbcBlockReader> open(store::Connection& connection, const QString& sql,
                                                 const QStringList& bound = {});
    ~OdbcBlockReader();
    OdbcBlockReader(const OdbcBlockReader&) = delete;
    OdbcBlockReader& operator=(const OdbcBlockReader&) = delete;

    // The next row; false after the last. Throws DbError.
    bool next();
    const QVariant& value(int column) const { return m_row[column]; }

private:
    struct State;
    explicit OdbcBlockReader(std::unique_ptr<State> state);
    void fetchBlock();
    void readRow();

    std::unique_ptr<State> m_state;
    QVector<QVariant> m_row;
};

} // namespace admin
