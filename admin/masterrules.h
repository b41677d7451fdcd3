#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the program relies on in a master table a company fills itself.
struct MasterRules {
    QString table;
    QStringList keyColumns; // unique together, none blank
    bool branchSequence = false;     // codes "00000", "00001", … without gaps
    bool accountClassification = false; // a_kubun + b_kubun + c_kubun: 1 + 2 + 2 digits
};

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

// The branch codes after the import: empty when they run "00000", "00001", …
// without gaps, else the Korean reason.
QString branchSequenceProblem(QStringList codes);
