#pragma once

#include "writesession.h"

#include <QList>
#include <QSet>
#include <QString>

namespace admin {

// A code stored vouchers use that no master table provides, with the number
// of voucher rows that use it.
struct OrphanCode {
    QString label;  // Korean: 계정과목, 지점, …
    QString column; // the voucher table's column
    QString code;
    qint64 rows = 0;
};

// The orphaned codes of the voucher columns whose codes `table` provides
// (alone, or with another master table: a voucher's customer or bank), in one
// statement per column, so that a write can compare them before and after
// inside its own transaction. Ordered by column and code.
QList<OrphanCode> orphanVoucherCodes(WriteSession& connection, const QString& table);

// Whether writing `codes` in place of a master table's rows would take away
// one of its codes the vouchers refer to (only then need the vouchers be
// read: a replace that keeps every code costs no scan of the ledger).
bool replaceRemovesCodes(WriteSession& connection, const QString& table, const QSet<QString>& codes);
// The column of `table` whose codes vouchers refer to; empty for none.
QString referencedCodeColumn(const QString& table);

// The orphans of `after` that were not orphans in `before`: the codes a write
// would take from the vouchers.
QList<OrphanCode> newOrphans(const QList<OrphanCode>& before, const QList<OrphanCode>& after);

} // namespace admin
