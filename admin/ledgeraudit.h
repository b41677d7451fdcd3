#pragma once

#include "store/connection.h"

#include <QStringList>

namespace admin {

// The voucher table's consistency as an auditor asks for it, in the row form
// the entry window writes: every line of a voucher is one debit row ("01")
// and one credit row ("02") with mirrored amounts; a withdrawal credits cash
// (a receipt debits it); a voucher number belongs to one voucher (one date,
// branch and kind); each row's Serial spells its own keys; every code in a
// row (account, customer or bank, employee, department, project, item,
// branch) is in its master table. Returns the findings in Korean, one line
// each; none when the ledger is sound. Prints progress on long tables.
QStringList auditLedger(store::Connection& connection);

} // namespace admin
