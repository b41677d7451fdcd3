#include "sqltokenexpr.h"

#include "sqltokenclause.h"

#include <initializer_list>

namespace sql {

namespace {

bool oneOf(const QString& word, std::initializer_list<const char*> words)
{
    for (const char* w : words) {
        if (word.compare(QLatin1StringView(w), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The column part of a possibly dotted name: t.Cr_Amt -> Cr_Amt.
QString columnPart(const QString& name)
{
    return name.mid(name.lastIndexOf(u'.') + 1);
}

bool isAmountColumn(const QString& name)
{
    return oneOf(columnPart(name), {"cr_amt", "dr_amt", "cr_amt1", "dr_amt1", "cr_amt2", "dr_amt2"});
}

bool isNumericTypeName(const TokenText& t, int i)
{
    return t.is(i, TokenKind::Name)
           && oneOf(t.text(i), {"int", "integer", "bigint", "smallint", "tinyint", "bit", "float", "real",
                                "decimal", "numeric", "money", "smallmoney"});
}

bool isArithmetic(const TokenText& t, int i)
{
    if (!t.is(i, TokenKind::Operator))
        return false;
    const QString& op = t.text(i);
    return op == u"+" || op == u"-" || op == u"*" || op == u"/" || op == u"%";
}

ValueType typeOfRange(const TokenText& t, int begin, int end)
{
    const Chain chain = readChain(t, begin, end);
    return chain.operands.isEmpty() ? ValueType::Text : readMeaning(t, chain).type;
}

// A scalar subquery takes the type of its first select item.
ValueType groupType(const TokenText& t, int open)
{
    const int close = t.partner(open);
    const int begin = t.next(open);
    if (begin >= close)
        return ValueType::Text;
    if (!t.isWord(begin, QLatin1StringView("select")))
        return typeOfRange(t, begin, close);
    const QVector<ClauseItem> items = selectListItems(t, begin);
    if (items.isEmpty())
        return ValueType::Text;
    const int eq = assigningEquals(t, items.first(), true);
    return typeOfRange(t, eq >= 0 ? t.next(eq) : items.first().first, items.first().last + 1);
}

ValueType functionType(const TokenText& t, int name, int open)
{
    const QString& f = t.text(name);
    const int close = t.partner(open);
    if (oneOf(f, {"count", "count_big", "sum", "avg", "abs", "round", "floor", "ceiling", "power", "sqrt",
                  "sign", "len", "datalength", "charindex", "patindex", "datediff", "year", "month", "day",
                  "isnumeric", "ascii", "unicode"}))
        return ValueType::Number;
    if (oneOf(f, {"max", "min", "isnull", "coalesce", "nullif"}))
        return typeOfRange(t, t.next(open), close);
    if (oneOf(f, {"cast"})) {
        for (int i = t.next(open); i < close; i = t.nextAtLevel(i)) {
            if (t.isWord(i, QLatin1StringView("as")))
                return isNumericTypeName(t, t.next(i)) ? ValueType::Number : ValueType::Text;
        }
    }
    if (oneOf(f, {"convert", "try_convert"}))
        return isNumericTypeName(t, t.next(open)) ? ValueType::Number : ValueType::Text;
    return ValueType::Text;
}

// A CASE takes the type of its first THEN.
ValueType caseType(const TokenText& t, int caseWord, int end)
{
    int depth = 0;
    for (int i = t.next(caseWord); i < end; i = t.nextAtLevel(i)) {
        if (t.isWord(i, QLatin1StringView("case")))
            ++depth;
        else if (t.isWord(i, QLatin1StringView("end")))
            --depth;
        else if (depth == 0 && t.isWord(i, QLatin1StringView("then")))
            return typeOfRange(t, t.next(i), end);
    }
    return ValueType::Text;
}

} // namespace

int caseEnd(const TokenText& t, int caseWord)
{
    int depth = 1;
    for (int i = t.next(caseWord); i < t.size(); i = t.nextAtLevel(i)) {
        if (t.is(i, TokenKind::CloseParen) || t.is(i, TokenKind::Semicolon))
            return -1;
        if (t.isWord(i, QLatin1StringView("case")))
            ++depth;
        else if (t.isWord(i, QLatin1StringView("end")) && --depth == 0)
            return i;
    }
    return -1;
}

Operand readOperand(const TokenText& t, int begin, int end)
{
    int i = begin;
    while (i < end && (t.isOperator(i, QLatin1StringView("-")) || t.isOperator(i, QLatin1StringView("+"))
                       || t.isOperator(i, QLatin1StringView("~"))))
        i = t.next(i);
    if (i >= end || !t.valid(i))
        return {};
    Operand o;
    o.first = begin;
    o.core = i;
    o.last = i;
    switch (t.kind(i)) {
    case TokenKind::String:
    case TokenKind::Parameter:
    case TokenKind::QuotedName:
        o.type = ValueType::Text;
        break;
    case TokenKind::Number:
        o.type = ValueType::Number;
        break;
    case TokenKind::OpenParen:
        o.last = qMin(t.partner(i), t.size() - 1);
        o.type = groupType(t, i);
        break;
    case TokenKind::Name:
        if (t.isWord(i, QLatin1StringView("case"))) {
            o.last = caseEnd(t, i);
            if (o.last < 0)
                return {};
            o.isCase = true;
            o.type = caseType(t, i, o.last);
        } else if (t.isWord(i, QLatin1StringView("null"))) {
            o.type = ValueType::Text;
        } else if (isReservedWord(t, i)) {
            return {};
        } else if (t.is(t.next(i), TokenKind::OpenParen)) {
            const int open = t.next(i);
            o.last = qMin(t.partner(open), t.size() - 1);
            o.type = functionType(t, i, open);
        } else {
            o.type = isAmountColumn(t.text(i)) ? ValueType::Number : ValueType::Text;
        }
        break;
    default:
        return {};
    }
    if (o.last >= end)
        return {};
    return o;
}

Chain readChain(const TokenText& t, int begin, int end)
{
    Chain chain;
    Operand left = readOperand(t, begin, end);
    if (!left.valid())
        return chain;
    chain.operands.append(left);
    for (;;) {
        const int op = t.next(left.last);
        if (op >= end || !isArithmetic(t, op))
            break;
        const Operand right = readOperand(t, t.next(op), end);
        if (!right.valid())
            break;
        chain.operators.append(op);
        chain.operands.append(right);
        left = right;
    }
    return chain;
}

ChainReading readMeaning(const TokenText& t, const Chain& chain)
{
    ChainReading reading;
    ValueType product = chain.operands.first().type;
    int productLast = chain.operands.first().last;
    int pendingOp = -1; // the '+' or '-' in front of the current product
    int pendingLeftLast = -1;
    ValueType sum = product;

    auto closeProduct = [&] {
        if (pendingOp < 0) {
            sum = product;
            return;
        }
        const bool joins = t.isOperator(pendingOp, QLatin1StringView("+")) && sum != ValueType::Number
                           && product != ValueType::Number;
        reading.steps.append({pendingOp, joins, pendingLeftLast});
        sum = joins ? ValueType::Text : ValueType::Number;
    };

    for (int k = 0; k < chain.operators.size(); ++k) {
        const int op = chain.operators[k];
        const Operand& right = chain.operands[k + 1];
        if (t.isOperator(op, QLatin1StringView("+")) || t.isOperator(op, QLatin1StringView("-"))) {
            closeProduct();
            pendingOp = op;
            pendingLeftLast = productLast;
            product = right.type;
        } else {
            product = ValueType::Number;
        }
        productLast = right.last;
    }
    closeProduct();
    reading.type = sum;
    return reading;
}

} // namespace sql
