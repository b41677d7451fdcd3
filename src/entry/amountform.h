#pragma once

#include <QString>

// The two forms an amount takes in an edit field.
// Plain form: the value with the "0" format (whole number, optional minus).
QString amountPlainForm(double value);

// Display form: the "#,##0" text behind the blanks that Str_StrToDouble adds
// for the length of the value's shortest decimal text. Where the blank table
// has no entry (13 or more digits) the figure is still shown, without
// blanks: an empty amount field would later be read, and stored, as 0.
QString amountDisplayForm(double value);
