#pragma once

#include <QString>

namespace print {

// What the entry window hands to the printed voucher.
struct PrintRequest {
    QString dateText;   // edDate's text
    int branchIndex;    // cbKubun's item index
    QString branchText; // cbKubun's text
    QString serialText; // edSerial's text
};

} // namespace print
