#pragma once

#include "core/engine.h"

#include <QStringList>

namespace store {
class Connection;
}

namespace schema {

// The trail of every change to the voucher table (voucher_history) and the
// closed periods (closed_books), beside the voucher table and never inside
// it: other programs read account_jen_AA as it is.
//
// voucher_history is append-only: triggers refuse an UPDATE or DELETE of a
// record whoever sends it (and TRUNCATE on PostgreSQL).
QStringList trailSchemaStatements(core::Engine engine);

// Whether an embedded file lacks the trail's tables or triggers (a file of
// an earlier version); createSchema() adds them. False on a server.
bool trailObjectsMissing(store::Connection& connection);

} // namespace schema
