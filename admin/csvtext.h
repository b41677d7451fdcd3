#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace admin {

// CSV as spreadsheets write it: fields separated by commas, a field in double
// quotes may hold commas, line breaks and doubled quotes; records end with
// LF or CRLF.

struct CsvRecord {
    int line = 0; // the file line the record starts on, from 1
    QStringList fields;
};

struct CsvSyntaxError {
    int line;
    QString text; // Korean, without the line
};

// Throws CsvSyntaxError. A last line without a line break is a record too.
QList<CsvRecord> parseCsv(const QString& text);

// One record, quoted where a field needs it, ended by CRLF.
QString csvLine(const QStringList& fields);

// A text cell a spreadsheet would run as a formula (it begins with =, +, -,
// @, a tab or a carriage return, perhaps after apostrophes) is written with an
// apostrophe in front, which spreadsheets show as text; reading takes that one
// apostrophe off again, so that export and import give each other's values.
QString formulaGuarded(const QString& text);
QString formulaUnguarded(const QString& text);

} // namespace admin
