#include "voucher/voucherbook.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "store/writeunit.h"
#include "voucher/listnarrowing.h"
#include "voucher/namecolumns.h"
#include "voucher/numbering.h"
#include "voucher/printstatements.h"
#include "voucher/statements.h"
#include "voucher/voucherrows.h"

namespace voucher {

VoucherBook::VoucherBook() : VoucherBook(store::Connection::account()) {}

VoucherBook::VoucherBook(store::Connection& connection)
    : m_list(connection), m_lookups(connection), m_debitRows(connection), m_highest(connection),
      m_rowWriter(connection), m_lineDelete(connection), m_printCount(connection), m_printRows(connection),
      m_trail(connection)
{
    // The printed voucher's expressions name Print_Query's columns by the statement's name.
    m_printCount.setObjectName(QStringLiteral("Print_Count_Query"));
    m_printCount.setLines(printLineCount());
    m_printRows.setObjectName(QStringLiteral("Print_Query"));
    m_printRows.setLines(printRows());
}

namespace {

// The rows of the printed voucher's form: the voucher's lines, then the filler rows.
constexpr int kPrintFormRows = 7;

// The key of a printed voucher; blanks never belong to it.
void bindPrintedVoucher(store::SqlStatement& statement, const QString& date, int branchIndex,
                        const QString& serialJen)
{
    statement.bindText(QStringLiteral("tbDateDay"), core::Str_RemoveBlanks(date));
    statement.bindText(QStringLiteral("tbKubunBon"), core::formatZeroPadded(branchIndex, 5));
    statement.bindText(QStringLiteral("tbSerialJen"), core::Str_RemoveBlanks(serialJen));
}

} // namespace

QStringList VoucherBook::branchNames()
{
    m_lookups.close();
    m_lookups.setLines(branchList());
    m_lookups.open();
    QStringList names;
    for (m_lookups.first(); !m_lookups.eof(); m_lookups.next())
        names << m_lookups.asText(QStringLiteral("Total"));
    return names;
}

void VoucherBook::prepareList(const QStringList& lines, const QString& date, int branchIndex)
{
    m_list.close();
    m_list.setLines(lines);
    const QString pattern = u'%' + date + core::formatZeroPadded(branchIndex, 5) + u'%';
    m_list.bindText(QStringLiteral("tbDKubun"), pattern);
    narrowToDateAndBranch(m_list, pattern); // the same rows, found by index
}

void VoucherBook::listDateAndBranch(const QString& date, int branchIndex)
{
    prepareList(voucherList(), date, branchIndex);
    m_list.open();
}

void VoucherBook::listRemainingLines(const QString& date, int branchIndex, const QString& serialJen)
{
    prepareList(remainingVoucherLines(), date, branchIndex);
    m_list.bindText(QStringLiteral("tbjen"), u'%' + serialJen + u'%');
    m_list.open();
}

bool VoucherBook::listIsEmpty()
{
    return m_list.isEmpty();
}

ListedLine VoucherBook::listedLine()
{
    return {m_list.asText(QStringLiteral("Serial_Jen")), m_list.asText(QStringLiteral("Serial_Bun")),
            m_list.asText(QStringLiteral("Date_Day"))};
}

bool VoucherBook::locateListedLine(const QString& lineKey)
{
    return m_list.locate(QStringLiteral("serial_ttt"), lineKey);
}

QList<LoadedRow> VoucherBook::loadVoucher(const QString& date, int branchIndex, const QString& serialJen)
{
    store::SqlStatement& q = m_debitRows;
    q.close();
    q.setLines(voucherDebitRows());
    q.bindText(QStringLiteral("tbDayBonCrDr"),
               core::Str_TrimRight(date) + core::formatZeroPadded(branchIndex, 5) + QStringLiteral("01"));
    q.bindText(QStringLiteral("tbSerial_jen"), core::Str_TrimRight(serialJen));
    q.prepare();
    q.open();

    QList<LoadedRow> rows;
    for (q.first(); !q.eof(); q.next()) {
        LoadedRow row;
        row.stored = {q.asText(QStringLiteral("Date_Day")), q.asText(QStringLiteral("Kubun_Bon")),
                      q.asText(QStringLiteral("Serial_Jen")), q.asText(QStringLiteral("Serial_Bun"))};
        VoucherLine& line = row.line;
        line.serialBun = row.stored.serialBun;
        for (const NameColumns& f : kNameColumns) {
            line.names[size_t(f.kind)] = q.asText(QString::fromLatin1(f.nameColumn));
            line.codes[size_t(f.kind)] = q.asText(QString::fromLatin1(f.codeColumn));
        }
        line.acText = q.asText(QStringLiteral("Ac_Text"));
        line.crAmt = q.asFloat(QStringLiteral("Cr_Amt"));
        line.drAmt = q.asFloat(QStringLiteral("Dr_Amt"));
        rows << row;
    }
    return rows;
}

QStringList VoucherBook::voucherLineNumbers(const QString& date, const QString& serialJen)
{
    m_lookups.close();
    m_lookups.setLines(voucher::voucherLineNumbers());
    m_lookups.bindText(QStringLiteral("tbSerial_jen"), core::Str_TrimRight(serialJen));
    m_lookups.bindText(QStringLiteral("tbSerial_day"), core::Str_TrimRight(date));
    m_lookups.prepare();
    m_lookups.open();
    QStringList numbers;
    for (m_lookups.first(); !m_lookups.eof(); m_lookups.next())
        numbers << m_lookups.asText(QStringLiteral("serial_bun"));
    return numbers;
}

void VoucherBook::prepareSave()
{
    // Only a head start: a connection known to be broken is left to the
    // write unit, which connects anew once, and so is a fault met here.
    if (m_rowWriter.connection().isBroken())
        return;
    try {
        voucher::prepareSerialJenMax(m_highest);
        prepareRowInsert(m_rowWriter);
        m_trail.prepare();
    } catch (const core::DbError&) {
        // The write unit meets the same fault and answers it.
    }
}

SavedVoucher VoucherBook::saveNewVoucher(const QString& date, int branchIndex, const QList<VoucherLine>& lines)
{
    // The number and every row in one transaction under the voucher table's
    // write lock: no other workstation takes the same number, and a failure
    // keeps nothing of the voucher. Other workstations wait while it is held:
    // the statements are prepared before it is taken.
    prepareSave();
    store::WriteUnit unit(m_rowWriter.connection());
    m_trail.begin(VoucherTrail::Change::Save, date);
    const VoucherHead head{date, branchIndex, voucher::Serial_Jen_MaxValue(m_highest, date)};
    const SavedVoucher saved{head.serialJen, insertVoucherLines(m_rowWriter, head, lines)};
    // The rows as stored, read back: the same text the check reads later.
    const QMap<QString, TrailLineRows> stored = m_trail.voucherRows(head.serialJen);
    for (auto line = stored.cbegin(); line != stored.cend(); ++line)
        m_trail.append(kTrailSave, head.serialJen, line.key(), line->branch, line->date, QString(), line->text);
    unit.commit();
    return saved;
}

bool VoucherBook::correctLine(const StoredLine& stored, const VoucherLine& line)
{
    m_trail.prepare();
    store::WriteUnit unit(m_rowWriter.connection());
    m_trail.begin(VoucherTrail::Change::Correct, stored.date);
    const TrailLineRows before = m_trail.lineRows(stored.serialJen, stored.serialBun);
    // The row writer's own unit joins this one: its refusal writes nothing.
    if (!updateLineRows(m_rowWriter, stored, line))
        return false;
    const TrailLineRows after = m_trail.lineRows(stored.serialJen, stored.serialBun);
    m_trail.append(kTrailCorrect, stored.serialJen, stored.serialBun, stored.branch, stored.date, before.text,
                   after.text);
    unit.commit();
    return true;
}

int VoucherBook::deleteLine(const QString& serialJen, const QString& serialBun)
{
    m_trail.prepare();
    store::WriteUnit unit(m_lineDelete.connection());
    // The line's date decides whether it lies in a closed period.
    const TrailLineRows before = m_trail.lineRows(serialJen, serialBun);
    if (!before.text.isEmpty())
        m_trail.begin(VoucherTrail::Change::Delete, before.date);
    const int deleted = deleteLineRows(m_lineDelete, serialJen, serialBun);
    if (deleted > 0 && !before.text.isEmpty())
        m_trail.append(kTrailDelete, serialJen, serialBun, before.branch, before.date, before.text, QString());
    unit.commit();
    return deleted;
}

QList<TrailRecord> VoucherBook::lineHistory(const QString& serialJen, const QString& serialBun)
{
    return m_trail.lineHistory(serialJen, serialBun);
}

int VoucherBook::countVoucherRows(const QString& serialJen)
{
    return voucher::countVoucherRows(m_lineDelete, serialJen);
}

PrintRows VoucherBook::openPrintRows(const QString& date, int branchIndex, const QString& serialJen)
{
    m_printCount.close();
    bindPrintedVoucher(m_printCount, date, branchIndex, serialJen);
    m_printCount.open();
    const int lineCount = m_printCount.rowCount();

    m_printRows.close();
    bindPrintedVoucher(m_printRows, date, branchIndex, serialJen);
    m_printRows.bindText(QStringLiteral("tbCount"), core::formatZeroPadded(kPrintFormRows - lineCount, 2));
    m_printRows.open();
    return {lineCount, &m_printRows};
}

} // namespace voucher
