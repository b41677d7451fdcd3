#pragma once

#include "dice.h"
#include "synthoptions.h"

#include "store/connection.h"

#include <QVector>

namespace admin {

// A master row as the ledger refers to it.
struct CodeName {
    QString code;
    QString name;
};

// The master rows a synthetic ledger draws its lines from.
struct MasterPools {
    QVector<CodeName> accounts; // offered by the account lookup (no cash, no placeholders)
    QVector<CodeName> expenseAccounts; // general expenses: what most withdrawals pay for
    QVector<CodeName> customersAndBanks;
    QVector<CodeName> employees;
    QVector<CodeName> departments;
    QVector<CodeName> projects;
    QVector<CodeName> items;
    int branches = 0;
};

// Replaces the master tables by the demo data plus generated rows up to the
// sizes asked for; the demo's special accounts and every group key stay.
void synthesizeMasters(store::Connection& connection, const SynthOptions& options, Dice& dice);

// Reads back what the ledger needs.
MasterPools readMasterPools(store::Connection& connection, int branches);

} // namespace admin
