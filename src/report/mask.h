#pragma once

#include <QString>

namespace report {

// Display masks of numeric fields: "#,###" (thousands separators; a zero
// prints nothing), "#,##0" (the same, a zero prints "0") and "0" (plain).
bool isSupportedMask(const QString& mask);
// Throws AppError for a mask that isSupportedMask refuses.
QString applyMask(double value, const QString& mask);

} // namespace report
