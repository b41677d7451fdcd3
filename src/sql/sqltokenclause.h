#pragma once

#include "sqltokentext.h"

#include <QVector>

namespace sql {

// One comma-separated item of a select list or of an UPDATE's SET clause:
// its first and last significant token.
struct ClauseItem {
    int first;
    int last;
};

// Words that never stand for a value: clause and operator words. A word
// followed by '(' that is not among them is a function call (left, right).
bool isReservedWord(const TokenText& t, int i);

// The items of the select list that follows the SELECT word at `select`
// (after DISTINCT, ALL, TOP n [PERCENT] [WITH TIES]) up to its FROM, INTO,
// WHERE, GROUP, HAVING, ORDER, UNION, … at the same depth, or the end of
// the group or statement.
QVector<ClauseItem> selectListItems(const TokenText& t, int select);

// The items of the SET clause that follows the SET word at `set`.
QVector<ClauseItem> setClauseItems(const TokenText& t, int set);

// `name = expr` in a select list or a SET clause: the '=' that assigns (not
// a comparison), or -1. In a select list the name may also be a quoted name
// or a string literal ('Total' = sum(x)); a variable (@v) is left alone.
int assigningEquals(const TokenText& t, const ClauseItem& item, bool selectList);

} // namespace sql
