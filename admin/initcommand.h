#pragma once

#include "target.h"

// voucher-admin init: the tables and the demo master data, in the data
// source the program uses or in a given SQLite file. Tables and rows that
// exist are kept. Returns the exit code.
int runInit(const TargetChoice& choice);
