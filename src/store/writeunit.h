#pragma once

#include "connection.h"

#include <QElapsedTimer>

namespace store {

// The store's way to write a voucher: one transaction that holds the voucher
// table's write lock from before the voucher number is read until commit, so
// that no other workstation can take the same number or see half a voucher.
// SQLite: BEGIN IMMEDIATE; PostgreSQL: a table lock that excludes other
// writers but not readers; SQL Server: an exclusive table lock held to the
// end of the transaction. Destroyed without commit(), it rolls back.
// A unit made while another is open on the connection joins it: it neither
// begins, commits nor rolls back; the outer unit decides for both.
class WriteUnit {
public:
    explicit WriteUnit(Connection& connection); // throws DbError
    ~WriteUnit();
    WriteUnit(const WriteUnit&) = delete;
    WriteUnit& operator=(const WriteUnit&) = delete;

    void commit(); // throws DbError (and rolls back)
    void rollback();

private:
    void begin(); // the transaction and the voucher table's lock
    void noteReleased();

    Connection& m_connection;
    bool m_active = false;
    bool m_joined = false; // inside another unit on the same connection
    QElapsedTimer m_locked; // since the voucher table's lock was taken
};

} // namespace store
