#pragma once

#include "engine.h"

#include <QString>

namespace store {

// Turns the Transact-SQL text the windows are written in into text the engine
// accepts and evaluates the same way. SQL Server gets the text unchanged.
//
// For SQLite and PostgreSQL, working on tokens (string literals, identifiers,
// numbers, :parameters, operators, parentheses), never inside a literal:
//  - select-list aliases `name = expr` become `expr AS name`;
//  - `+` between texts becomes `||` (a `+` between two numeric operands stays);
//  - `like` becomes `ILIKE` on PostgreSQL (SQL Server's default collation is
//    case-insensitive; SQLite's LIKE already is for ASCII);
//  - string literals compared with =, <>, <, >, <=, >= or listed in an
//    `in ( … )` list lose their trailing blanks, as SQL Server ignores them.
QString translateSql(const QString& tsql, Engine engine);

} // namespace store
