#pragma once

#include "core/engine.h"

#include <QString>
#include <QStringList>

namespace sql {

// What the texts bound to LIKE patterns let the engine skip. Each list holds
// the parameters (lower-case names, without the colon) bound to such texts.
struct BoundPatterns {
    QStringList caseless;   // isCaselessPatternText
    QStringList openEnded;  // isOpenEndedPatternText
    QStringList anyText;    // isAnyTextPattern
    bool operator==(const BoundPatterns&) const = default;
};

// Turns the Transact-SQL text the windows are written in into text the engine
// accepts and evaluates the same way. SQL Server gets the text unchanged.
//
// For SQLite and PostgreSQL, working on tokens (string literals, identifiers,
// numbers, :parameters, operators, parentheses, comments), never inside a
// literal, a comment or a parameter name:
//  - select-list aliases `name = expr` become `expr AS name`;
//  - `+` between texts becomes `||`; a `+` with a numeric operand (amount
//    column, number, count/sum, …) adds, as SQL Server converts the other side;
//  - `like` becomes `ILIKE … ESCAPE ''` on PostgreSQL (SQL Server's default
//    collation is case-insensitive and knows no escape character; SQLite's
//    LIKE already is both for ASCII); a pattern of literals that no case
//    changes (Hangul, digits) keeps `LIKE … ESCAPE ''`, which finds the same,
//    as does one of such literals and parameters bound to such texts
//    (BoundPatterns::caseless);
//  - `rtrim(name) like (:p)` trims only the names the bare column matched
//    where the text bound to :p ends in '%' (BoundPatterns::openEnded), and
//    none where it is '%' alone (BoundPatterns::anyText);
//  - string literals compared with =, <>, !=, <, >, <=, >= or listed in an
//    `in ( … )` list lose their trailing blanks, as SQL Server ignores them;
//  - N'…' literals, !< and !>, and [bracketed] names (PostgreSQL) are spelt
//    the engine's way;
//  - on PostgreSQL, the leaves of a UNION ALL in a derived table hand their
//    WHERE to the query around it (unionleaves.h), so that an ORDER BY over
//    the union is read from the tables' indexes instead of sorting every row.
// `asWritten` leaves out the rewrites that only change how the engine reads
// the rows, never which rows (the caseless LIKE, the trimming and the
// union's leaves above), so that tests can compare the two.
QString translateSql(const QString& tsql, core::Engine engine, bool asWritten = false, const BoundPatterns& bound = {});

// The parameters that stand in a LIKE's pattern (lower-case, without the
// colon), and whether a text bound to one is the same in either case: no
// Latin letter, no '_' (one character, where lower-casing can change a
// text's length), nothing outside ASCII but Hangul.
QStringList likeParameters(const QString& tsql);
bool isCaselessPatternText(const QString& text);
// A pattern that ends in '%': one that matches a text with its trailing
// blanks trimmed matches it as it stands too, the '%' taking the blanks.
bool isOpenEndedPatternText(const QString& text);
// '%' alone, once or more: every text that is not NULL.
bool isAnyTextPattern(const QString& text);

} // namespace sql
