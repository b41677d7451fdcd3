#pragma once

#include "csvencoding.h"

#include <QString>

namespace admin {

// voucher-admin template TABLE FILE.csv: a blank form for an importable
// master table, its header (every column import takes) and one example row,
// in the form export writes. Refuses a file that exists.
int runTemplate(const QString& table, const QString& file, CsvEncoding encoding);

} // namespace admin
