#pragma once

#include <QString>

namespace voucher {

// Year, month and day with "-" between them, naming a real calendar date
// (one-digit months and days pass this test).
bool isCalendarDate(const QString& text);

// A base date a voucher can be stored under: a real calendar date written
// YYYY-MM-DD, ten characters.
bool isBaseDate(const QString& text);

// The warning for a typed date that is not one.
QString badDateWarning(const QString& typed);

} // namespace voucher
