#pragma once

#include <QString>

namespace core {

// Text and number helpers shared by every window. A blank is the space
// character alone; tabs and other control characters are not blanks.

QString Str_TrimLeft(const QString& text);
QString Str_TrimRight(const QString& text);
QString Str_RemoveBlanks(const QString& text);

// Keeps only "-0123456789." and reads the rest as a decimal number; an empty
// rest reads as 0. Throws ConversionError naming the input when the kept
// characters are not a number ("1-2", "--1", "1.2.3", "-", ".").
double Str_ToNumber(const QString& text);

// Right-aligns an amount for an edit field: blanks by the length of the plain
// text (and its sign) followed by the formatted text, or "" where the table
// has no entry. Throws ConversionError when the plain text is not a number.
QString Str_StrToDouble(const QString& plainText, const QString& formattedText);

// Reads a decimal text strictly (optional minus, digits, optional point and
// fraction); throws ConversionError naming the text otherwise.
double strictToDouble(const QString& text);

// Reads a whole number the way a line number read back from a result is read
// ("01" -> 1); blanks around it are ignored. Throws ConversionError.
int strictToInt(const QString& text);

// Number formats used by the windows.
QString formatThousands(double value);      // "#,##0": 1234567.4 -> "1,234,567", -5 -> "-5"
QString formatThousandsBlankZero(double v); // "#,###": as above, but 0 gives ""
QString formatPlain(double value);          // "0": rounded, no separators: 1234.6 -> "1235"
QString formatZeroPadded(qint64 value, int digits); // "00000": 3 -> "00003", -1 -> "-00001"
QString shortestDecimal(double value);      // 1234 -> "1234", 1234.5 -> "1234.5", -5 -> "-5"

// Length of a text as the Korean code page counts it: an ASCII character is
// one byte, any other character two.
int cp949Length(const QString& text);

// The position of the first character of a text that cannot be stored as
// typed in a text column of the Korean code page, -1 when there is none: a
// NUL (a server cuts the text there) or anything the code page lacks (it
// would come back as "?").
qsizetype firstUnstorableInCp949(const QString& text);

} // namespace core
