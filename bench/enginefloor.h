#pragma once

#include "store/connection.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <map>
#include <memory>

// The least the engine needs for the rows each window operation reads or
// writes: hand-written statements in the engine's own SQL on the plain key
// columns and their indexes, on the same connection, every value read.
class EngineFloor {
public:
    explicit EngineFloor(store::Connection& c) : c(c) {}

    // The rows of the window's list of one date and branch, columns as the
    // list has them: one indexed pass over that date and branch that puts
    // each line's debit and credit row side by side. Returns the rows.
    int listDay(const QString& date, const QString& branch);

    // What loading one voucher reads: its line numbers, then its debit rows,
    // every column. Returns the debit rows.
    int readVoucher(const QString& serialJen);

    // A new voucher of `lines` lines: the highest number of the date and both
    // rows of every line, in one transaction. Returns the number it took.
    QString insertVoucher(const QString& date, const QString& branch, int lines);

    // Both rows of one line rewritten in one transaction.
    void updateLine(const QString& serialJen, const QString& serialBun, double amount);

    // Both rows of one line deleted, then the rows left of the voucher counted.
    int deleteLine(const QString& serialJen, const QString& serialBun);

private:
    QSqlQuery& prepared(const QString& sql);
    QSqlQuery& exec(const QString& sql, const QVariantList& values = {});
    void begin();
    void commit();

    store::Connection& c;
    // Each statement is prepared once and run again with new values only, as
    // the window keeps its statements prepared.
    std::map<QString, std::unique_ptr<QSqlQuery>> m_prepared;
};
