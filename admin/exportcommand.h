#pragma once

#include "csvencoding.h"
#include "target.h"

namespace admin {

struct ExportOptions {
    TargetChoice target;
    QString table;
    QString file;
    CsvEncoding encoding = CsvEncoding::Utf8;
    QString from, to; // the voucher table: Date_Day from .. to; the trail: the day of done_at (yyyy-MM-dd), both optional
    QString voucher;  // the voucher table and the trail: one voucher number only
    bool withResidentNumbers = false; // Sawon_Table: Sawon_Jumin02 as stored, not masked
};

// voucher-admin export TABLE FILE.csv: a master table, or the voucher table
// account_jen_AA by date range, or the trail voucher_history, as CSV in the form import reads: a header of
// the table's column names, texts without the padding of fixed-width columns,
// amounts in their shortest decimal form, times in ISO 8601 with
// milliseconds, column names as the schema spells them, whatever the engine;
// a text a spreadsheet would run as a formula behind an apostrophe. Importing
// the file gives the same rows again. Dates are checked against the calendar.
// The employees' resident registration numbers leave masked (Sawon_Jumin02
// with its first digit kept) unless withResidentNumbers is set.
int runExport(const ExportOptions& options);

} // namespace admin
