#include "voucher/voucherrows.h"

#include "core/strutil.h"
#include "store/statement.h"
#include "schema/voucherform.h"
#include "store/writeunit.h"
#include "voucher/namecolumns.h"
#include "voucher/numbering.h"
#include "voucher/writestatements.h"

#include <QDateTime>

namespace voucher {

namespace {


enum class Side { Debit, Credit };

// What both statements bind alike for one side of a line: the account (the
// chosen one on the debit row, cash on the credit row), the line's names,
// the description, the mirrored amounts and the time of the write.
void bindLineValues(store::SqlStatement& q, const VoucherLine& line, Side side)
{
    const bool debit = side == Side::Debit;
    q.bindText(QStringLiteral("tbAc_JenCode"), debit ? line.code(LookupKind::Account) : QLatin1String(schema::kCashCode));
    q.bindText(QStringLiteral("tbAc_JenName"), debit ? line.name(LookupKind::Account) : schema::cashName());
    q.bindText(QStringLiteral("tbAc_Text"), line.acText);
    // The other names and their codes go to both rows alike.
    for (const NameColumns& n : kNameColumns) {
        if (n.kind == LookupKind::Account)
            continue;
        q.bindText(QStringLiteral("tb") + QLatin1String(n.codeColumn), line.code(n.kind));
        q.bindText(QStringLiteral("tb") + QLatin1String(n.nameColumn), line.name(n.kind));
    }
    q.bindFloat(QStringLiteral("tbCr_Amt"), debit ? line.crAmt : line.drAmt);
    q.bindFloat(QStringLiteral("tbDr_Amt"), debit ? line.drAmt : line.crAmt);
    q.bindDateTime(QStringLiteral("tbEnd_Day"), QDateTime::currentDateTime());
}

void insertRow(store::SqlStatement& q, const VoucherHead& head, const VoucherLine& line, Side side)
{
    const bool debit = side == Side::Debit;
    q.close();
    q.setLines(voucherRowInsert());
    q.bindText(QStringLiteral("tbSerial"), voucher::Serial_MaxValue(head.branchIndex, head.serialJen, line.serialBun,
                                                                 QLatin1String(schema::kWithdrawalForm) + u'*'
                                                                     + QLatin1String(debit ? schema::kDebitSide : schema::kCreditSide)));
    q.bindText(QStringLiteral("tbSerial_Jen"), head.serialJen);
    q.bindText(QStringLiteral("tbSerial_Bun"), line.serialBun);
    q.bindText(QStringLiteral("tbSerial_CrDr"), QLatin1String(debit ? schema::kDebitSide : schema::kCreditSide));
    // Month, year and date are cut from the date as typed, not parsed.
    q.bindText(QStringLiteral("tbMonth_Char"), head.date.mid(5, 2));
    q.bindText(QStringLiteral("tbYear_Char"), head.date.left(4));
    q.bindText(QStringLiteral("tbDate_Day"), head.date);
    q.bindText(QStringLiteral("tbTable_Kubun"), QLatin1String(schema::kTableKubun));
    q.bindText(QStringLiteral("tbKubun_Bon"), core::formatZeroPadded(head.branchIndex, 5));
    q.bindText(QStringLiteral("tbKubun_Jen"), QLatin1String(schema::kWithdrawalKind));
    q.bindText(QStringLiteral("tbKubun_Amt"), QLatin1String(schema::kAmountKind));
    q.bindText(QStringLiteral("tbForm_Kubun"), QLatin1String(schema::kWithdrawalForm));
    q.bindText(QStringLiteral("tbGiel_Serial"), QLatin1String(schema::kGielSerial));
    bindLineValues(q, line, side);
    q.prepare();
    q.execute();
}

int updateRow(store::SqlStatement& q, const QString& rowKeyStem, const VoucherLine& line, Side side)
{
    q.close();
    q.setLines(voucherRowUpdate());
    q.bindText(QStringLiteral("tbSerial"),
               rowKeyStem + QLatin1String(side == Side::Debit ? schema::kDebitSide : schema::kCreditSide));
    bindLineValues(q, line, side);
    q.prepare();
    return q.execute();
}

// The branch of every row that the update's key of one side finds.
QStringList rowBranches(store::SqlStatement& q, const QString& rowKey)
{
    q.close();
    q.setLines(voucherRowBranches());
    q.bindText(QStringLiteral("tbSerial"), rowKey);
    q.prepare();
    q.open();
    QStringList branches;
    for (q.first(); !q.eof(); q.next())
        branches << q.asText(QStringLiteral("Kubun_Bon"));
    q.close();
    return branches;
}

// A count statement's column Serial for one key (:tbSerial).
int countRows(store::SqlStatement& q, const QStringList& statement, const QString& key)
{
    q.close();
    q.setLines(statement);
    q.bindText(QStringLiteral("tbSerial"), key);
    q.open();
    const auto rows = q.asInteger(QStringLiteral("Serial"));
    q.close();
    return int(rows);
}

} // namespace

QString lineKey(const QString& serialJen, const QString& serialBun)
{
    return serialJen + serialBun;
}

void prepareRowInsert(store::SqlStatement& querySql)
{
    querySql.close();
    querySql.setLines(voucherRowInsert());
    querySql.prepare();
}

void insertLineRows(store::SqlStatement& querySql, const VoucherHead& head, const VoucherLine& line)
{
    insertRow(querySql, head, line, Side::Credit);
    insertRow(querySql, head, line, Side::Debit);
}

QString insertVoucherLines(store::SqlStatement& querySql, const VoucherHead& head, const QList<VoucherLine>& lines)
{
    QString lastStored;
    for (const VoucherLine& line : lines) {
        // A line without a debit amount stores nothing (a negative one is stored).
        if (line.crAmt == 0)
            continue;
        insertLineRows(querySql, head, line);
        lastStored = lineKey(head.serialJen, line.serialBun);
    }
    return lastStored;
}

bool updateLineRows(store::SqlStatement& querySql, const StoredLine& stored, const VoucherLine& line)
{
    const QString stem =
        core::Str_RemoveBlanks(stored.date) + core::Str_RemoveBlanks(stored.serialJen) + core::Str_RemoveBlanks(stored.serialBun);
    store::WriteUnit unit(querySql.connection());
    // Half a line is never rewritten: a side that is gone (deleted elsewhere)
    // leaves the other as stored. The key holds no branch: a number freed by
    // a deletion and taken again by another branch's voucher would match it.
    // Read under the write lock, the rows found are the rows the updates
    // write, which also decides where the driver does not tell how many rows
    // an update changed.
    for (const char* side : {schema::kDebitSide, schema::kCreditSide}) {
        const QStringList branches = rowBranches(querySql, stem + QLatin1String(side));
        if (branches.isEmpty() || branches.count(stored.branch) != branches.size()) {
            unit.rollback();
            return false;
        }
    }
    const int debitRows = updateRow(querySql, stem, line, Side::Debit);
    const int creditRows = updateRow(querySql, stem, line, Side::Credit);
    if (debitRows == 0 || creditRows == 0) {
        unit.rollback();
        return false;
    }
    unit.commit();
    return true;
}

int deleteLineRows(store::SqlStatement& deleteQuery, const QString& serialJen, const QString& serialBun)
{
    const QString key = core::Str_RemoveBlanks(serialJen) + core::Str_RemoveBlanks(serialBun);
    store::WriteUnit unit(deleteQuery.connection());
    // Counted under the write lock, the rows are those the delete removes:
    // the answer where the driver does not tell how many it deleted.
    const int stored = countRows(deleteQuery, voucherLineRowCount(), key);
    deleteQuery.close();
    deleteQuery.setLines(voucherLineDelete());
    deleteQuery.bindText(QStringLiteral("tbSerial"), key);
    deleteQuery.prepare();
    const int deleted = deleteQuery.execute();
    unit.commit();
    return deleted >= 0 ? deleted : stored;
}

int countVoucherRows(store::SqlStatement& deleteQuery, const QString& serialJen)
{
    return countRows(deleteQuery, voucherRowCount(), serialJen);
}

} // namespace voucher
