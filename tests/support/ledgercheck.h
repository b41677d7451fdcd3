#pragma once

#include "store/connection.h"

#include <QStringList>

// What the workstations (child/workstation.cpp) were told, checked against
// what the voucher table holds afterwards.
struct LedgerReport {
    int saved = 0;      // vouchers the workstations were told were saved
    int corrected = 0;
    int deleted = 0;    // lines
    int errors = 0;     // operations the store refused
    int present = 0;    // vouchers stored at the end
    QStringList problems;
};

// Reads the workstations' reports (all their stdout lines) and the rows
// tagged by them ("ws<worker>-<seq>-<lines>" in Ac_Text), and checks:
// no two vouchers share a number; every stored line is one debit row and
// one credit row (cash) with mirrored amounts; every voucher a workstation
// was told was saved is stored with exactly the lines and amounts it was
// last told, and nothing else is stored.
LedgerReport checkLedger(store::Connection& c, const QStringList& reports);

// Only the wholeness of what is stored, for workstations that were killed:
// every tagged voucher has all its lines (the tag's count), each a debit and
// a credit row with mirrored amounts, and its number is its own.
QStringList checkWholeVouchers(store::Connection& c);
