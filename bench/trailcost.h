#pragma once

#include "store/connection.h"

#include <QStringList>
#include <vector>

namespace bench {

// What the trail adds to a save: five-line vouchers saved in turn by the
// book (number, rows and a voucher_history record per line, with the closed
// period read first) and by the same statements without the trail (number
// and rows in one write unit, the save as it was before), each timed.
struct TrailCost {
    std::vector<double> withoutMs;
    std::vector<double> withMs;
};

// `runs` of each, after one untimed pair; the numbers saved are added to `saved`.
TrailCost timeTrailCost(store::Connection& connection, const QString& date, int branch, int runs, QStringList& saved);

} // namespace bench
