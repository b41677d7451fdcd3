#include "resultshortcuts.h"

#include "sqltokenclause.h"

namespace sql {

namespace {

using sql::TokenKind;
using sql::TokenText;

struct OrderItem {
    int name;      // the column's token
    int direction; // its ASC or DESC token, or -1
};

// The top-level ORDER BY at the end of the text: the index of its ORDER
// word and its items, or -1 when the text does not end in one that only
// names columns.
int trailingOrderBy(const TokenText& t, QVector<OrderItem>& items)
{
    int order = -1;
    int last = -1;
    for (int i = t.next(-1); i < t.size(); i = t.nextAtLevel(i)) {
        if (t.is(i, TokenKind::CloseParen))
            return -1; // unbalanced: leave the text alone
        if (!t.is(i, TokenKind::Semicolon))
            last = i;
        if (t.isWord(i, QLatin1StringView("order")) && t.isWord(t.next(i), QLatin1StringView("by")))
            order = i;
        else if (t.isWord(i, QLatin1StringView("union")) || t.isWord(i, QLatin1StringView("except"))
                 || t.isWord(i, QLatin1StringView("intersect")))
            order = -1; // an ORDER BY before a set operator belonged to a part
    }
    if (order < 0 || last < 0)
        return -1;
    items.clear();
    int i = t.next(t.next(order));
    while (i < t.size()) {
        if (!t.is(i, TokenKind::Name))
            return -1;
        OrderItem item{i, -1};
        i = t.next(i);
        if (t.isWord(i, QLatin1StringView("asc")) || t.isWord(i, QLatin1StringView("desc"))) {
            item.direction = i;
            i = t.next(i);
        }
        items.append(item);
        if (t.is(i, TokenKind::Comma)) {
            i = t.next(i);
            continue;
        }
        if (t.is(i, TokenKind::Semicolon) && t.next(i) >= t.size())
            break;
        if (i < t.size())
            return -1; // COLLATE, LIMIT, FOR …: not a plain list of columns
    }
    return items.isEmpty() ? -1 : order;
}

QString columnOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.mid(dot + 1);
}

// The text up to (not including) token `end`, as written.
QString textBefore(const TokenText& t, int end)
{
    QString out;
    for (int i = 0; i < end; ++i)
        out += t.text(i);
    return out;
}

} // namespace

ResultShortcuts resultShortcuts(const QString& engineText, core::Engine engine, int columns)
{
    ResultShortcuts shortcuts;
    const TokenText t(engineText);
    const int select = t.next(-1);
    if (!t.isWord(select, QLatin1StringView("select")))
        return shortcuts;
    int afterSelect = t.next(select);
    while (t.isWord(afterSelect, QLatin1StringView("distinct")) || t.isWord(afterSelect, QLatin1StringView("all")))
        afterSelect = t.next(afterSelect);
    if (t.isWord(afterSelect, QLatin1StringView("top")))
        return shortcuts; // its rows depend on the order's direction
    QVector<OrderItem> items;
    const int order = trailingOrderBy(t, items);
    if (order < 0)
        return shortcuts;
    for (const OrderItem& item : items) {
        if (sql::isReservedWord(t, item.name))
            return shortcuts;
        shortcuts.orderColumns.append(columnOf(t.text(item.name)));
    }

    const QString body = textBefore(t, order);
    QString names;
    if (engine == core::Engine::SqlServer) {
        QStringList list;
        for (int i = 1; i <= columns; ++i)
            list << QStringLiteral("c%1").arg(i);
        names = QStringLiteral(" (%1)").arg(list.join(QStringLiteral(", ")));
    }
    shortcuts.count = QStringLiteral("SELECT COUNT(*) FROM (\n%1\n) counted_rows%2").arg(body, names);

    TokenText reversed(engineText);
    for (const OrderItem& item : items) {
        if (item.direction < 0)
            reversed.insertAfter(item.name, QStringLiteral(" DESC"));
        else
            reversed.replace(item.direction, t.isWord(item.direction, QLatin1StringView("desc"))
                                                 ? QStringLiteral("ASC")
                                                 : QStringLiteral("DESC"));
    }
    shortcuts.reversed = reversed.result();
    // A closing semicolon would end the text before a row window.
    while (shortcuts.reversed.trimmed().endsWith(u';'))
        shortcuts.reversed = shortcuts.reversed.trimmed().chopped(1);
    shortcuts.usable = true;
    return shortcuts;
}

QString withRowWindow(const QString& orderedText, core::Engine engine, int offset, int count)
{
    QString text = orderedText.trimmed();
    while (text.endsWith(u';'))
        text = text.chopped(1).trimmed();
    if (engine == core::Engine::SqlServer)
        return QStringLiteral("%1\nOFFSET %2 ROWS FETCH NEXT %3 ROWS ONLY").arg(text).arg(offset).arg(count);
    return QStringLiteral("%1\nLIMIT %3 OFFSET %2").arg(text).arg(offset).arg(count);
}

} // namespace sql
