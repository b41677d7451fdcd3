#pragma once

#include "store/connection.h"

// The rows the program cannot work without, whatever a company's own master
// data: the printed voucher's filler rows (Jen_Print "01".."07") and the cash
// account every withdrawal credits. Rows already there are kept.
void addProgramRows(store::Connection& connection);
