#pragma once

#include "target.h"

namespace admin {

// Sizes of the synthetic database (voucher-admin synth).
struct SynthOptions {
    TargetChoice target;
    qint64 rows = 2000000;
    int accounts = 5000;
    int customers = 100000;
    int banks = 1000;
    int employees = 10000;
    int departments = 500;
    int projects = 1000;
    int items = 2000;
    int years = 10;
    int branches = 5;
    int perDay = 300; // vouchers of one working day, all branches
    quint64 seed = 1;
    bool replace = false; // allowed to drop an existing ledger
};

} // namespace admin
