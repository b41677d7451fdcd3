#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace admin {

// What the program relies on in a master table a company fills itself.
struct MasterRules {
    QString table;
    QStringList keyColumns; // unique together, none blank
    bool branchSequence = false;     // codes "00000", "00001", … without gaps
    bool accountClassification = false; // a_kubun + b_kubun + c_kubun: 1 + 2 + 2 digits
    int codeDigits = 0; // the width of a code made of digits, where the program fixes one
    QStringList example; // "column=value" per column: one row of a blank form (template)
};

// Where each code column of a voucher row must be found: a master table's
// code column ("table.column"), any of them.
struct VoucherCodeColumn {
    const char* column;
    const char* label;
    QStringList masters;
};
const QList<VoucherCodeColumn>& voucherCodeColumns();

// The cash account every withdrawal credits: no chart may lack it.
extern const QString kCashAccount;
// The code set of the accounts the account lookup lists.
extern const QString kLookupCodeSet;
// What to do about codes a spreadsheet took for numbers (Korean).
QString leadingZerosHint();

// The master tables import and export take; null for any other name
// (case-blind). The table name is returned as the program spells it.
const MasterRules* masterRules(const QString& table);
QStringList importableTables();

// A problem of one row found by the rules below: the column (table's name)
// and the Korean text.
struct RuleProblem {
    QString column;
    QString text;
};

// The classification parts of one account row (values by lower-case column name).
QList<RuleProblem> classificationProblems(const QString& aKubun, const QString& bKubun, const QString& cKubun);

// Codes of digits only shorter than the width the table's codes have (its
// fixed width, else the longest code of digits that begins with 0 among
// `codes`): a spreadsheet drops the leading zeros of a column it takes for
// numbers. 0 when no code of digits is expected.
int expectedCodeDigits(const MasterRules& rules, const QStringList& codes);
bool lostLeadingZeros(const QString& code, int expectedDigits);

// The branch codes after the import: empty when they run "00000", "00001", …
// without gaps, else the Korean reason.
QString branchSequenceProblem(QStringList codes);

} // namespace admin
