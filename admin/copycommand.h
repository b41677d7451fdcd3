#pragma once

#include <QString>

namespace admin {

struct CopyOptions {
    QString from;   // "sqlite:PATH" or "odbc"
    QString to;     // the same
    QString schema; // the ODBC side's PostgreSQL schema, when given
    bool replace = false;
};

// voucher-admin copy --from A --to B: a whole company's books, every table,
// written into the target in one transaction and proved before it commits:
// rows and a checksum per table on both sides (tablechecksum.h). The source
// is read in one snapshot. A target that holds vouchers is refused unless
// replace is set; the target's master tables are always replaced by the
// source's. Returns the exit code.
int runCopy(const CopyOptions& options);

} // namespace admin
