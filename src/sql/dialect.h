#pragma once

#include "core/engine.h"

#include <QString>
#include <QStringList>

namespace store {

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
//    as does one of such literals and `caselessParameters`: parameters
//    (lower-case names, without the colon) whose bound texts no case changes;
//  - string literals compared with =, <>, !=, <, >, <=, >= or listed in an
//    `in ( … )` list lose their trailing blanks, as SQL Server ignores them;
//  - N'…' literals, !< and !>, and [bracketed] names (PostgreSQL) are spelt
//    the engine's way;
//  - on PostgreSQL, the leaves of a UNION ALL in a derived table hand their
//    WHERE to the query around it (unionleaves.h), so that an ORDER BY over
//    the union is read from the tables' indexes instead of sorting every row.
// `asWritten` leaves out the rewrites that only change how the engine reads
// the rows, never which rows (the caseless LIKE and the union's leaves
// above), so that tests can compare the two.
QString translateSql(const QString& tsql, Engine engine, bool asWritten = false,
                     const QStringList& caselessParameters = {});

// The parameters that stand in a LIKE's pattern (lower-case, without the
// colon), and whether a text bound to one is the same in either case: no
// Latin letter, no '_' (one character, where lower-casing can change a
// text's length), nothing outside ASCII but Hangul.
QStringList likeParameters(const QString& tsql);
bool isCaselessPatternText(const QString& text);

} // namespace store
