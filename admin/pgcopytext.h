#pragma once

#include <QByteArray>
#include <QVariant>

namespace admin {

// PostgreSQL COPY's text format: a row a line, values separated by tabs,
// NULL written \N, and a backslash, tab, line feed or carriage return
// inside a value escaped with a backslash.

// Appends a value as COPY reads it into a column of its type: texts as
// they are, numbers in the fewest digits that read back as the same
// double, times to the millisecond (what the INSERT of a literal did).
void appendCopyValue(QByteArray& line, const QVariant& value);

// How a result column of a server type is given to the admin tool's
// passes: the kinds, and for NULL the types, that the ODBC block reader
// gives for the same type.
enum class PgValueKind { Text, Double, Int, BigInt, DateTime, Date };
// Throws DbError for a type the tool does not read.
PgValueKind pgValueKind(unsigned typeOid);

// One line of COPY's output cut into its values, each decoded: `fields`
// receives the values' start in `line` after decoding in place, NULL as
// a negative length. Returns false when the line does not hold `columns`.
struct CopyField {
    const char* data;
    int length; // -1: NULL
};
bool splitCopyLine(char* line, int length, CopyField* fields, int columns);

// The length of a text without its trailing blanks (no other UTF-8 byte is
// a blank), eight at a time: a fixed-width column is mostly padding.
int unpaddedLength(const char* text, int length);

// A decoded value as a QVariant of the kind, a text without its trailing
// blanks when `unpadded`; throws DbError when the text does not read as one.
QVariant pgValue(PgValueKind kind, const CopyField& field, bool unpadded = false);

} // namespace admin
