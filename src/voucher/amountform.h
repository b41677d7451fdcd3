#pragma once

#include <QString>

namespace voucher {

// The two forms an amount takes in an edit field.
// Plain form: the value with the "0" format (whole number, optional minus).
QString amountPlainForm(double value);

// Display form: the "#,##0" text behind the blanks that Str_StrToDouble adds
// for the length of the value's shortest decimal text. Where the blank table
// has no entry (13 or more digits) the figure is still shown, without
// blanks: an empty amount field would later be read, and stored, as 0.
QString amountDisplayForm(double value);

// Whether an amount field's text can be read as an amount: digits, the
// thousands separators, a point, a minus sign and blanks, nothing else. The
// tolerant conversion would read "3천" as 3; such a text is refused instead.
bool isAmountText(const QString& text);

// The value of an amount field: leading blanks dropped, then read by the
// tolerant conversion (an empty text is 0). Throws ConversionError, also for
// a text that holds anything but a figure (never read from its digits alone).
double amountFieldValue(const QString& text);

} // namespace voucher
