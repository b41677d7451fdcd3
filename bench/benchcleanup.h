#pragma once

#include "store/connection.h"

#include <QString>

namespace bench {

// Takes away the voucher lines a benchmark saved, each as a clerk deletes
// one, through the book: the trail records every deletion, so its chain and
// `voucher-admin check` still find the books and the trail in agreement. A
// plain DELETE would leave records of lines that are no longer there.
// `where` picks rows of account_jen_AA; every line they belong to goes whole.
void deleteLinesThroughTheBook(store::Connection& connection, const QString& where);

} // namespace bench
