#include "unionleaves.h"

#include "sqltokenclause.h"

#include <QVector>

namespace sql {

namespace {

const QString kKept = QStringLiteral("union_leaf_kept");

// One leaf of the union: SELECT items FROM table [alias] [WHERE condition].
struct Leaf {
    QVector<ClauseItem> items;
    int where = -1; // the WHERE word, -1 when there is none
    int last = -1;  // the leaf's last significant token
};

bool isWordIn(const TokenText& t, int i, std::initializer_list<const char*> words)
{
    for (const char* w : words)
        if (t.isWord(i, QLatin1StringView(w)))
            return true;
    return false;
}

// The text of first..last as written, blanks and comments inside included.
QString rawText(const TokenText& t, int first, int last)
{
    QString text;
    for (int i = first; i <= last; ++i)
        text += t.output(i);
    return text;
}

// A token, or the closing partner of an opening parenthesis.
int lastOf(const TokenText& t, int i)
{
    return t.is(i, TokenKind::OpenParen) ? t.partner(i) : i;
}

// The significant tokens of one depth from `first` up to (not including) `end`.
QVector<int> levelTokens(const TokenText& t, int first, int end)
{
    QVector<int> tokens;
    for (int i = first; i < end && i < t.size(); i = t.nextAtLevel(i))
        tokens.append(i);
    return tokens;
}

bool readLeaf(const TokenText& t, const QVector<int>& tokens, Leaf& leaf)
{
    if (tokens.isEmpty() || !t.isWord(tokens.first(), QLatin1StringView("select")))
        return false;
    const int select = tokens.first();
    if (isWordIn(t, t.next(select), {"distinct", "top"}))
        return false;
    leaf.items = selectListItems(t, select);
    if (leaf.items.isEmpty())
        return false;
    int i = t.next(leaf.items.last().last);
    if (!t.isWord(i, QLatin1StringView("from")))
        return false;
    const int table = t.next(i);
    if (!t.is(table, TokenKind::Name) || isReservedWord(t, table))
        return false;
    leaf.last = lastOf(t, tokens.last());
    i = t.next(table);
    if (t.is(i, TokenKind::Name) && !isReservedWord(t, i) && i <= leaf.last) // an alias
        i = t.next(i);
    if (i > leaf.last)
        return true;
    if (!t.isWord(i, QLatin1StringView("where")))
        return false; // a join, a second table, a grouping: not one table
    leaf.where = i;
    for (int k : tokens)
        if (k > i && isWordIn(t, k, {"group", "having", "order", "where"}))
            return false;
    return true;
}

// The leaves of `( … UNION ALL … )` at paren `open`; empty unless every
// leaf is a plain one-table SELECT and every joint is UNION ALL.
QVector<Leaf> unionLeaves(const TokenText& t, int open)
{
    const QVector<int> tokens = levelTokens(t, t.next(open), t.partner(open));
    QVector<Leaf> leaves;
    QVector<int> current;
    for (int k = 0; k < tokens.size(); ++k) {
        const int i = tokens[k];
        if (isWordIn(t, i, {"except", "intersect"}))
            return {};
        if (t.isWord(i, QLatin1StringView("union"))) {
            if (k + 1 >= tokens.size() || !t.isWord(tokens[k + 1], QLatin1StringView("all")))
                return {};
            Leaf leaf;
            if (!readLeaf(t, current, leaf))
                return {};
            leaves.append(leaf);
            current.clear();
            ++k; // ALL
            continue;
        }
        current.append(i);
    }
    Leaf leaf;
    if (leaves.isEmpty() || !readLeaf(t, current, leaf))
        return {};
    leaves.append(leaf);
    return leaves;
}

// Depth of every token: inside a parenthesis one more than the parenthesis.
QVector<int> depths(const TokenText& t)
{
    QVector<int> d(t.size());
    int depth = 0;
    for (int i = 0; i < t.size(); ++i) {
        if (t.is(i, TokenKind::CloseParen))
            --depth;
        d[i] = depth;
        if (t.is(i, TokenKind::OpenParen))
            ++depth;
    }
    return d;
}

// The query around the derived table: selects named columns (no *), reads
// the derived table alone and does not group. Its WHERE word (or -1), the
// last token of its condition, and the derived table's alias.
struct Around {
    int alias = -1;
    int where = -1;
    int whereLast = -1;
};

bool readAround(const TokenText& t, const QVector<int>& depth, int open, Around& around)
{
    if (!t.isWord(t.prev(open), QLatin1StringView("from")))
        return false;
    int select = t.prev(open);
    while (select >= 0 && !(depth[select] == depth[open] && t.isWord(select, QLatin1StringView("select"))))
        select = t.prev(select);
    if (select < 0)
        return false;
    for (const ClauseItem& item : selectListItems(t, select))
        if (t.text(item.last).endsWith(u'*'))
            return false;
    int i = t.next(t.partner(open));
    if (t.isWord(i, QLatin1StringView("as")))
        i = t.next(i);
    if (!t.is(i, TokenKind::Name) || isReservedWord(t, i))
        return false;
    around.alias = i;
    // The rest of the query at this depth, to the end of its group.
    int last = -1;
    for (int k = t.next(i); k < t.size() && !t.is(k, TokenKind::CloseParen); k = t.nextAtLevel(k)) {
        if (isWordIn(t, k, {"group", "having", "union", "except", "intersect", "join", "cross", "inner", "left",
                            "right", "full"})
            || t.is(k, TokenKind::Comma) || t.is(k, TokenKind::Semicolon))
            return false;
        if (t.isWord(k, QLatin1StringView("where")))
            around.where = k;
        else if (t.isWord(k, QLatin1StringView("order")))
            break;
        else if (around.where < 0)
            return false; // anything else between the alias and WHERE or ORDER
        last = lastOf(t, k);
    }
    around.whereLast = around.where >= 0 ? last : -1;
    return around.where < 0 || around.whereLast > around.where;
}

// The expression of a select item without its `AS name`.
int expressionLast(const TokenText& t, const ClauseItem& item)
{
    const int before = t.prev(item.last);
    return before >= item.first && t.isWord(before, QLatin1StringView("as")) ? t.prev(before) : item.last;
}

bool joinsText(const TokenText& t, int first, int last)
{
    for (int i = first; i <= last; ++i)
        if (t.isOperator(i, QLatin1StringView("||")))
            return true;
    return false;
}

// A plain column beside a joined text of another leaf becomes text itself,
// as the union makes it: with equal types a leaf is read as its table.
void castColumnsBesideJoinedTexts(TokenText& t, const QVector<Leaf>& leaves)
{
    const int columns = int(leaves.first().items.size());
    for (int c = 0; c < columns; ++c) {
        bool joined = false;
        for (const Leaf& leaf : leaves)
            joined = joined || joinsText(t, leaf.items[c].first, expressionLast(t, leaf.items[c]));
        if (!joined)
            continue;
        for (const Leaf& leaf : leaves) {
            const ClauseItem& item = leaf.items[c];
            if (expressionLast(t, item) == item.first && t.is(item.first, TokenKind::Name)) {
                t.insertBefore(item.first, QStringLiteral("CAST("));
                t.insertAfter(item.first, QStringLiteral(" AS TEXT)"));
            }
        }
    }
}

bool liftAt(TokenText& t, const QVector<int>& depth, int open)
{
    const QVector<Leaf> leaves = unionLeaves(t, open);
    if (leaves.isEmpty())
        return false;
    bool anyCondition = false;
    for (const Leaf& leaf : leaves) {
        anyCondition = anyCondition || leaf.where >= 0;
        if (leaf.items.size() != leaves.first().items.size())
            return false;
    }
    Around around;
    if (!anyCondition || !readAround(t, depth, open, around))
        return false;

    for (int n = 0; n < leaves.size(); ++n) {
        const Leaf& leaf = leaves[n];
        const QString condition =
            leaf.where >= 0 ? u'(' + rawText(t, t.next(leaf.where), leaf.last) + u')' : QStringLiteral("TRUE");
        if (leaf.where >= 0)
            for (int i = leaf.where; i <= leaf.last; ++i)
                t.replace(i, QString());
        t.insertAfter(leaf.items.last().last, QStringLiteral(", ") + condition + (n == 0 ? QStringLiteral(" AS ") + kKept : QString()));
    }
    castColumnsBesideJoinedTexts(t, leaves);

    const QString kept = t.output(around.alias) + u'.' + kKept;
    if (around.where >= 0) {
        t.insertAfter(around.where, QStringLiteral(" ("));
        t.insertAfter(around.whereLast, QStringLiteral(") AND ") + kept);
    } else {
        t.insertAfter(around.alias, QStringLiteral(" WHERE ") + kept);
    }
    return true;
}

} // namespace

QString liftUnionLeafConditions(const QString& postgresSql)
{
    if (!postgresSql.contains(QLatin1String("union"), Qt::CaseInsensitive))
        return postgresSql;
    TokenText t(postgresSql);
    const QVector<int> depth = depths(t);
    bool changed = false;
    for (int i = 0; i < t.size(); ++i)
        if (t.is(i, TokenKind::OpenParen) && t.partner(i) < t.size() && liftAt(t, depth, i))
            changed = true;
    return changed ? t.result() : postgresSql;
}

} // namespace sql
