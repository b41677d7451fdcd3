#pragma once

#include "target.h"

namespace admin {

// voucher-admin init: the tables and the demo master data, in the data
// source the program uses or in a given SQLite file. Tables and rows that
// exist are kept. With empty, no demo masters: only the rows the program
// itself needs (schema::addProgramRows), for a company that brings its own.
// Returns the exit code.
int runInit(const TargetChoice& choice, bool empty = false);

} // namespace admin
