#include "sqltokenclause.h"

#include <initializer_list>

namespace sql {

namespace {

bool isAnyWord(const TokenText& t, int i, std::initializer_list<const char*> words)
{
    for (const char* w : words) {
        if (t.isWord(i, QLatin1StringView(w)))
            return true;
    }
    return false;
}

bool endsSelectList(const TokenText& t, int i)
{
    return t.is(i, TokenKind::CloseParen) || t.is(i, TokenKind::Semicolon)
           || isAnyWord(t, i, {"from", "into", "where", "group", "having", "order", "union", "except",
                               "intersect", "option", "for", "select", "insert", "update", "delete"});
}

bool endsSetClause(const TokenText& t, int i)
{
    return t.is(i, TokenKind::CloseParen) || t.is(i, TokenKind::Semicolon)
           || isAnyWord(t, i, {"where", "from", "output", "option", "select", "insert", "update", "delete"});
}

template <typename Ends>
QVector<ClauseItem> commaItems(const TokenText& t, int begin, Ends ends)
{
    QVector<ClauseItem> items;
    int first = begin;
    int last = -1;
    int i = begin;
    for (; i < t.size() && !ends(i); i = t.nextAtLevel(i)) {
        if (t.is(i, TokenKind::Comma)) {
            if (last >= first)
                items.append({first, last});
            first = t.next(i);
            last = -1;
        } else {
            last = t.is(i, TokenKind::OpenParen) ? qMin(t.partner(i), t.size() - 1) : i;
        }
    }
    if (last >= first)
        items.append({first, last});
    return items;
}

} // namespace

bool isReservedWord(const TokenText& t, int i)
{
    if (!t.is(i, TokenKind::Name))
        return false;
    if ((t.isWord(i, QLatin1StringView("left")) || t.isWord(i, QLatin1StringView("right")))
        && t.is(t.next(i), TokenKind::OpenParen))
        return false;
    return isAnyWord(t, i, {"select", "from", "where", "and", "or", "not", "like", "in", "is", "between",
                            "as", "on", "join", "inner", "outer", "cross", "full", "left", "right",
                            "group", "by", "order", "having", "union", "all", "distinct", "when",
                            "then", "else", "end", "exists", "insert", "into", "values", "update",
                            "set", "delete", "top", "asc", "desc", "escape", "collate", "except",
                            "intersect", "with", "any", "some", "case", "null", "over", "percent"});
}

QVector<ClauseItem> selectListItems(const TokenText& t, int select)
{
    int i = t.next(select);
    while (t.isWord(i, QLatin1StringView("distinct")) || t.isWord(i, QLatin1StringView("all")))
        i = t.next(i);
    if (t.isWord(i, QLatin1StringView("top"))) {
        i = t.nextAtLevel(t.next(i));
        if (t.isWord(i, QLatin1StringView("percent")))
            i = t.next(i);
        if (t.isWord(i, QLatin1StringView("with")) && t.isWord(t.next(i), QLatin1StringView("ties")))
            i = t.next(t.next(i));
    }
    return commaItems(t, i, [&t](int k) { return endsSelectList(t, k); });
}

QVector<ClauseItem> setClauseItems(const TokenText& t, int set)
{
    return commaItems(t, t.next(set), [&t](int k) { return endsSetClause(t, k); });
}

int assigningEquals(const TokenText& t, const ClauseItem& item, bool selectList)
{
    const int name = item.first;
    const int eq = t.next(name);
    if (eq >= item.last || !t.isOperator(eq, QLatin1StringView("=")))
        return -1;
    if (t.is(name, TokenKind::Name)) {
        if (isReservedWord(t, name))
            return -1;
        if (selectList && (t.text(name).startsWith(u'@') || t.text(name).contains(u'.')))
            return -1;
        return eq;
    }
    if (selectList && (t.is(name, TokenKind::QuotedName) || t.is(name, TokenKind::String)))
        return eq;
    return -1;
}

} // namespace sql
