#pragma once

#include "core/errors.h"
#include "store/statement.h"
#include "voucher/trailrecord.h"

#include <QMap>

namespace voucher {

// A save, correction or deletion dated on or before the closed date: refused
// before anything is written. The text names the date and the closed date.
class PeriodClosedError : public core::AppError {
public:
    PeriodClosedError(const QString& text, const QString& closedThrough) : core::AppError(text), m_closedThrough(closedThrough) {}
    const QString& closedThrough() const { return m_closedThrough; }

private:
    QString m_closedThrough;
};

// A line's rows as the trail records them.
struct TrailLineRows {
    QString text;   // trailtext: empty when the line has no rows
    QString date;   // Date_Day of its rows
    QString branch; // Kubun_Bon of its rows
};

// Writes voucher_history inside the caller's store::WriteUnit, whose lock on
// the voucher table keeps every other writer out: the chain's last hash read
// there is still the last when the record goes in, whichever workstation
// writes next. The caller opens the unit, calls begin() before writing
// anything, writes, appends the records, commits: a change and its records
// are kept together or not at all.
class VoucherTrail {
public:
    enum class Change { Save, Correct, Delete };

    explicit VoucherTrail(store::Connection& connection);

    // The statements parsed ahead of the write unit (psqlODBC parses on a first run).
    void prepare();
    // Inside the unit, before anything is written: reads the closed date,
    // the chain's last hash, the database's clock and login. Throws
    // PeriodClosedError when `date` lies in a closed period.
    void begin(Change change, const QString& date);
    // The same without a voucher date (closing and reopening the books).
    void begin();
    // The closed date read by begin(), "" when no period was ever closed.
    const QString& closedThrough() const { return m_closedThrough; }

    // A line's rows, as stored now.
    TrailLineRows lineRows(const QString& serialJen, const QString& serialBun);
    // Every line of a voucher number, by line number.
    QMap<QString, TrailLineRows> voucherRows(const QString& serialJen);

    // Appends one record after the last (begin() first); returns it.
    TrailRecord append(const QString& operation, const QString& serialJen, const QString& serialBun,
                       const QString& branch, const QString& date, const QString& before, const QString& after);

    // A line's records, oldest first (read-only; no write unit needed).
    QList<TrailRecord> lineHistory(const QString& serialJen, const QString& serialBun);

private:
    QMap<QString, TrailLineRows> readRows(const QStringList& statement, const QString& key);

    store::Connection& m_connection;
    store::SqlStatement m_rows;
    store::SqlStatement m_append;
    QString m_closedThrough;
    QString m_lastHash;
    QString m_doneBy;
    QString m_doneAt;
    bool m_begun = false;
};

} // namespace voucher
