#pragma once

#include "csvencoding.h"
#include "target.h"

namespace admin {

struct ImportOptions {
    TargetChoice target;
    QString table;
    QString file;
    CsvEncoding encoding = CsvEncoding::Detect;
    bool replace = false; // the table's rows are replaced, not added to
};

// voucher-admin import TABLE FILE.csv: a master table from a CSV file whose
// header names the table's columns (case-blind; columns left out stay
// blank). Every row is checked before anything is written (widths in bytes
// of the Korean code page as the program counts them, unique codes, the
// branch codes' sequence, the accounts' classification keys); the rows are
// then written in one transaction. A replace needs rows, keeps the cash
// account and every code stored vouchers use (checked in the transaction,
// before it commits). Refusals name the file, line and column.
int runImport(const ImportOptions& options);

} // namespace admin
