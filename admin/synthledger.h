#pragma once

#include "dice.h"
#include "synthmasters.h"
#include "synthoptions.h"

#include <QDate>

namespace admin {

struct LedgerFigures {
    qint64 rows = 0;
    qint64 vouchers = 0;
    qint64 otherKindVouchers = 0;
    int days = 0;
    QDate first;
    QDate last;
};

// Fills account_jen_AA with vouchers in the program's row form (a credit and
// a debit row per line, numbers per date across all branches and kinds),
// working days back from today, until the number of rows asked for is there.
LedgerFigures synthesizeLedger(store::Connection& connection, const SynthOptions& options, const MasterPools& pools,
                               Dice& dice);

} // namespace admin
