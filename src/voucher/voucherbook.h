#pragma once

#include "store/statement.h"
#include "voucher/voucherline.h"
#include "voucher/vouchertrail.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace store {
class Connection;
}

namespace voucher {

// The withdrawal vouchers of account_jen_AA as the entry window works them:
// its statements (one object per purpose, each with its quoted text), the
// list of a date and branch, loading, numbering and writing the rows. No
// widgets: the window maps panels to lines and calls these operations; the
// tools and tests save through the same ones.
//
// Dates are given as typed (YYYY-MM-DD) and branches by the selector's
// position. Engine failures are thrown as DbError, bad stored numbers as
// ConversionError; a write that throws has kept nothing.
// The rows of a printed voucher, as openPrintRows() left them.
struct PrintRows {
    int lineCount = 0;                   // the voucher's debit rows (Print_Count_Query)
    store::SqlStatement* rows = nullptr; // Print_Query, open: those rows, then blank filler rows

    // True when the print statement gave at least one row to print.
    bool any() const { return rows && rows->isOpen() && !rows->isEmpty(); }
};

class VoucherBook {
public:
    VoucherBook(); // on store::Connection::account()
    explicit VoucherBook(store::Connection& connection);
    VoucherBook(const VoucherBook&) = delete;
    VoucherBook& operator=(const VoucherBook&) = delete;

    // The branch selector's texts ("name/place"), in branch code order.
    QStringList branchNames();

    // Opens the list of a date and branch: one row per voucher line, debit
    // and credit side by side; its first row is current.
    void listDateAndBranch(const QString& date, int branchIndex);
    // The same list restricted to the voucher numbers containing serialJen:
    // what is left of a voucher after one of its lines was deleted.
    void listRemainingLines(const QString& date, int branchIndex, const QString& serialJen);
    // The list as last opened, for the grid that shows it; its current row is the chosen one.
    store::SqlStatement& list() { return m_list; }
    bool listIsEmpty();
    // The current row of the list; throws DbError when it has none.
    ListedLine listedLine();
    // Makes current the row of voucher number + line number (lineKey());
    // false, current row unchanged, when the list has none.
    bool locateListedLine(const QString& lineKey);

    // The debit rows of a voucher (the line panels' contents), in stored order.
    QList<LoadedRow> loadVoucher(const QString& date, int branchIndex, const QString& serialJen);
    // The line numbers a voucher has (of any branch), as stored.
    QStringList voucherLineNumbers(const QString& date, const QString& serialJen);

    // A new voucher whole or not at all: in one WriteUnit, which holds the
    // voucher table's write lock, the next number of the date and then the
    // rows of every line with a debit amount, in line order.
    SavedVoucher saveNewVoucher(const QString& date, int branchIndex, const QList<VoucherLine>& lines);
    // Rewrites both rows of a stored line with `line` in one WriteUnit;
    // false, nothing changed, when either row is gone or under another branch.
    bool correctLine(const StoredLine& stored, const VoucherLine& line);
    // Deletes both rows of a line in one WriteUnit; returns the rows deleted.
    int deleteLine(const QString& serialJen, const QString& serialBun);
    // A save, correction or deletion dated in a closed period throws
    // PeriodClosedError before anything is written. Each line saved,
    // corrected or deleted leaves a record in voucher_history, written in
    // the change's own write unit.

    // A stored line's records in voucher_history, oldest first.
    QList<TrailRecord> lineHistory(const QString& serialJen, const QString& serialBun);
    // The rows left under a voucher number (blanks removed).
    int countVoucherRows(const QString& serialJen);

    // The rows of the printed voucher: its debit rows, then blank filler
    // rows from Jen_Print up to the form's seven rows. The statement stays
    // the book's and open until the next call.
    PrintRows openPrintRows(const QString& date, int branchIndex, const QString& serialJen);

private:
    // The list closed and given a list statement, bound to "%" + the date as
    // typed + the branch position as "00000" + "%", and narrowed to that
    // date and branch by index where the pattern pins them.
    void prepareList(const QStringList& lines, const QString& date, int branchIndex);
    // The save's statements prepared ahead of its write unit.
    void prepareSave();

    store::SqlStatement m_list;       // Query1: the voucher list shown in the grid
    store::SqlStatement m_lookups;    // Query2: branch list; line numbers of a voucher
    store::SqlStatement m_debitRows;  // Panel_DisplayQuery: the rows of one voucher for the panels
    store::SqlStatement m_highest;    // Query_Max: the highest voucher number of a day
    store::SqlStatement m_rowWriter;  // Query_Sql: inserting and updating voucher rows
    store::SqlStatement m_lineDelete; // Delete_Query: deleting rows and counting what is left
    store::SqlStatement m_printCount; // Print_Count_Query: the printed voucher's lines
    store::SqlStatement m_printRows;  // Print_Query: the printed voucher's rows, filled up to the form
    VoucherTrail m_trail;             // voucher_history and the closed periods
};

} // namespace voucher
