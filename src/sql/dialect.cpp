#include "dialect.h"

#include "sqltokenclause.h"
#include "sqltokenexpr.h"
#include "sqltokentext.h"
#include "unionleaves.h"

#include <QSet>
#include <QVector>

#include <algorithm>
#include <iterator>

namespace sql {

namespace {


// `name = expr` of a select list, to become `expr AS name`.
struct SelectAlias {
    int name;
    int equals;
    int exprLast;
    bool joinsText; // the expression is a text concatenation
};

struct Assignments {
    QSet<int> equals; // '=' tokens that assign rather than compare
    QVector<SelectAlias> aliases;
};

// Narrows first..last to what the parentheses around all of it enclose.
void stepInsideParentheses(const TokenText& t, int& first, int& last)
{
    while (t.is(first, TokenKind::OpenParen) && t.partner(first) == last) {
        first = t.next(first);
        last = t.prev(last);
    }
}

// Whether first..last, parentheses around it aside, is one chain that joins texts.
bool joinsText(const TokenText& t, int first, int last)
{
    stepInsideParentheses(t, first, last);
    if (first < 0 || first > last)
        return false;
    const Chain chain = readChain(t, first, t.next(last));
    if (chain.operands.isEmpty() || chain.last() != last)
        return false;
    const ChainReading reading = readMeaning(t, chain);
    if (reading.type != ValueType::Text)
        return false;
    for (const AdditiveStep& step : reading.steps)
        if (step.joins)
            return true;
    return false;
}

Assignments findAssignments(const TokenText& t)
{
    Assignments a;
    for (int i = 0; i < t.size(); ++i) {
        if (t.isWord(i, QLatin1StringView("select"))) {
            for (const ClauseItem& item : selectListItems(t, i)) {
                const int eq = assigningEquals(t, item, true);
                if (eq >= 0) {
                    a.equals.insert(eq);
                    a.aliases.append({item.first, eq, item.last, joinsText(t, t.next(eq), item.last)});
                }
            }
        } else if (t.isWord(i, QLatin1StringView("set"))) {
            for (const ClauseItem& item : setClauseItems(t, i)) {
                const int eq = assigningEquals(t, item, false);
                if (eq >= 0)
                    a.equals.insert(eq);
            }
        }
    }
    return a;
}

// SQL Server joins texts with '+'; SQLite would add them as numbers (giving
// 0 without a word of complaint) and PostgreSQL refuses. Where a chain mixes
// joining and adding, the part before the change is put in parentheses, as
// || binds differently from + in the two engines.
void rewriteChain(TokenText& t, const Chain& chain)
{
    const ChainReading reading = readMeaning(t, chain);
    for (int k = 0; k < reading.steps.size(); ++k) {
        const AdditiveStep& step = reading.steps[k];
        if (step.joins)
            t.replace(step.op, QStringLiteral("||"));
        if (k > 0 && step.joins != reading.steps[k - 1].joins) {
            t.insertBefore(chain.first(), QStringLiteral("("));
            t.insertAfter(step.leftLast, QStringLiteral(")"));
        }
    }
}

// Every chain of one depth, and those inside CASE … END, which is read as a
// single operand of the chain around it.
void rewriteChainsIn(TokenText& t, int begin, int end)
{
    for (int i = begin; i < end;) {
        const Chain chain = readChain(t, i, end);
        if (chain.operands.isEmpty()) {
            i = t.nextAtLevel(i);
            continue;
        }
        rewriteChain(t, chain);
        for (const Operand& o : chain.operands) {
            if (o.isCase)
                rewriteChainsIn(t, t.next(o.core), o.last);
        }
        i = t.next(chain.last());
    }
}

void rewriteConcatenation(TokenText& t)
{
    rewriteChainsIn(t, t.next(-1), t.size());
    for (int i = 0; i < t.size(); ++i) {
        if (t.is(i, TokenKind::OpenParen))
            rewriteChainsIn(t, t.next(i), t.partner(i));
    }
}

bool isComparison(const TokenText& t, int i, const QSet<int>& assigning)
{
    if (!t.is(i, TokenKind::Operator) || assigning.contains(i))
        return false;
    static const QStringList ops{"=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>"};
    return ops.contains(t.text(i));
}

bool bindsTighterThanComparison(const TokenText& t, int i)
{
    static const QStringList ops{"+", "-", "*", "/", "%", "||", "&", "|", "^"};
    return t.is(i, TokenKind::Operator) && ops.contains(t.text(i));
}

// The literal with the parentheses that enclose nothing but it: ('x ').
struct Unit {
    int first;
    int last;
};

Unit operandUnit(const TokenText& t, int literal)
{
    Unit u{literal, literal};
    while (t.is(t.prev(u.first), TokenKind::OpenParen) && t.partner(t.prev(u.first)) == t.next(u.last)) {
        u.first = t.prev(u.first);
        u.last = t.next(u.last);
    }
    return u;
}

// One whole element of `in ( … )`.
bool isInListElement(const TokenText& t, int literal)
{
    Unit u{literal, literal};
    for (;;) {
        const int before = t.prev(u.first);
        const int after = t.next(u.last);
        if (t.is(before, TokenKind::OpenParen) && t.partner(before) == after) {
            if (t.isWord(t.prev(before), QLatin1StringView("in")))
                return true;
            u = {before, after};
            continue;
        }
        if (!(t.is(before, TokenKind::OpenParen) || t.is(before, TokenKind::Comma))
            || !(t.is(after, TokenKind::CloseParen) || t.is(after, TokenKind::Comma)))
            return false;
        int open = before;
        while (open >= 0 && !t.is(open, TokenKind::OpenParen))
            open = t.is(open, TokenKind::CloseParen) && t.partner(open) >= 0 ? t.prev(t.partner(open)) : t.prev(open);
        return open >= 0 && t.isWord(t.prev(open), QLatin1StringView("in"));
    }
}

// One whole side of a comparison.
bool isComparedLiteral(const TokenText& t, int literal, const QSet<int>& assigning)
{
    const Unit u = operandUnit(t, literal);
    const int before = t.prev(u.first);
    const int after = t.next(u.last);
    return (isComparison(t, before, assigning) && !bindsTighterThanComparison(t, after))
           || (isComparison(t, after, assigning) && !bindsTighterThanComparison(t, before));
}

QString withoutTrailingBlanks(const QString& literal)
{
    if (literal.size() < 2 || !literal.startsWith(u'\'') || !literal.endsWith(u'\''))
        return literal;
    QString inner = literal.mid(1, literal.size() - 2);
    while (inner.endsWith(u' '))
        inner.chop(1);
    return u'\'' + inner + u'\'';
}

// SQL Server pads the shorter side with blanks before comparing, so trailing
// blanks of a literal never count there; both engines count them.
void trimComparedLiterals(TokenText& t, const QSet<int>& assigning)
{
    for (int i = 0; i < t.size(); ++i) {
        if (t.is(i, TokenKind::String) && (isComparedLiteral(t, i, assigning) || isInListElement(t, i)))
            t.replace(i, withoutTrailingBlanks(t.output(i)));
    }
}

bool isPlainName(const QString& s)
{
    if (s.isEmpty() || !(s[0].isLetter() || s[0] == u'_'))
        return false;
    for (QChar c : s) {
        if (!(c.isLetterOrNumber() || c == u'_'))
            return false;
    }
    return true;
}

// SQL Server matches names without regard to case, quoted or not. PostgreSQL
// folds unquoted names to lower case and keeps quoted ones as written, so a
// quoted name is written in lower case there to find what was created unquoted.
QString nameForEngine(const QString& name, core::Engine engine)
{
    if (engine == core::Engine::PostgreSQL)
        return u'"' + name.toLower().replace(u'"', QStringLiteral("\"\"")) + u'"';
    return isPlainName(name) ? name : u'[' + name + u']';
}

QString unquote(const QString& quoted)
{
    const QChar close = quoted.startsWith(u'[') ? u']' : quoted[0];
    QString inner = quoted.mid(1, quoted.size() - 2);
    return inner.replace(QString(2, close), QString(close));
}

bool isHangul(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0x1100 && u <= 0x11FF) || (u >= 0x3130 && u <= 0x318F);
}

QString parameterName(const TokenText& t, int i)
{
    return t.text(i).mid(1).toLower();
}

// A pattern written as literals and caseless parameters alone (joined, in
// parentheses) whose every character is the same in either case: LIKE
// finds what ILIKE finds.
bool caselessPattern(const TokenText& t, const Chain& pattern, const QStringList& caselessParameters)
{
    for (int i = pattern.first(); i >= 0 && i <= pattern.last(); i = t.next(i)) {
        if (t.is(i, TokenKind::OpenParen) || t.is(i, TokenKind::CloseParen) || t.isOperator(i, QLatin1StringView("+")))
            continue;
        if (t.is(i, TokenKind::Parameter) && caselessParameters.contains(parameterName(t, i)))
            continue;
        if (!t.is(i, TokenKind::String) || !isCaselessPatternText(t.text(i).mid(t.text(i).indexOf(u'\''))))
            return false;
    }
    return true;
}

// SQL Server's LIKE ignores case in its default collation, PostgreSQL's does
// not (ILIKE does). PostgreSQL also reads a backslash in a pattern as an
// escape unless told otherwise, so a searched "A\B" would find "AB".
// ILIKE lower-cases every row's text first, which costs the account lookup
// most of its time: a pattern that no case can change keeps LIKE.
void toPostgresLike(TokenText& t, int like, bool asWritten, const QStringList& caselessParameters)
{
    const Chain pattern = readChain(t, t.next(like), t.size());
    if (asWritten || pattern.operands.isEmpty() || !caselessPattern(t, pattern, caselessParameters))
        t.replace(like, QStringLiteral("ILIKE"));
    if (!pattern.operands.isEmpty() && !t.isWord(t.next(pattern.last()), QLatin1StringView("escape")))
        t.insertAfter(pattern.last(), QStringLiteral(" ESCAPE ''"));
}

// The parameter a LIKE's pattern consists of, in parentheses or not, or -1.
int lonePatternParameter(const TokenText& t, const Chain& pattern)
{
    if (pattern.operands.size() != 1)
        return -1;
    int first = pattern.first();
    int last = pattern.last();
    stepInsideParentheses(t, first, last);
    return first == last && t.is(first, TokenKind::Parameter) ? first : -1;
}

// `rtrim(name) LIKE (:p)` with a text bound to :p that ends in '%': every
// name it matches trimmed it matches bare. PostgreSQL measures every
// character of a text to trim it, most of the cost of reading a CHAR column
// this way, so the bare column is compared first and rtrim runs only on the
// rows it kept; the trimmed form stays for the trigram index built on it.
// A pattern of '%' alone matches a name bare exactly when trimmed, and no
// index helps it: rtrim goes.
void lightenTrimmedLike(TokenText& t, int like, core::Engine engine, const BoundPatterns& bound)
{
    const int close = t.prev(like);
    if (!t.is(close, TokenKind::CloseParen) || t.partner(close) < 0)
        return;
    const int open = t.partner(close);
    const int column = t.next(open);
    const int trim = t.prev(open);
    if (t.next(column) != close || !(t.is(column, TokenKind::Name) || t.is(column, TokenKind::QuotedName))
        || isReservedWord(t, column) || !t.isWord(trim, QLatin1StringView("rtrim")))
        return;
    // Nothing before rtrim may take it as its operand ('x' + rtrim(…) LIKE …).
    const int before = t.prev(trim);
    static const char* const kOpeners[] = {"where", "and", "or", "not", "when", "on", "having"};
    const bool opens = before < 0 || t.is(before, TokenKind::OpenParen)
                       || std::any_of(std::begin(kOpeners), std::end(kOpeners),
                                      [&](const char* w) { return t.isWord(before, QLatin1StringView(w)); });
    const Chain pattern = readChain(t, t.next(like), t.size());
    const int parameter = lonePatternParameter(t, pattern);
    if (!opens || parameter < 0 || t.isWord(t.next(pattern.last()), QLatin1StringView("escape")))
        return;
    const QString name = parameterName(t, parameter);
    if (bound.anyText.contains(name)) {
        for (int i : {trim, open, close})
            t.replace(i, QString());
    } else if (bound.openEnded.contains(name)) {
        QString patternText;
        for (int i = pattern.first(); i <= pattern.last(); ++i)
            patternText += t.output(i);
        const QString escape = engine == core::Engine::PostgreSQL ? QStringLiteral(" ESCAPE ''") : QString();
        t.insertBefore(trim, u'(' + t.output(column) + u' ' + t.output(like) + u' ' + patternText + escape
                                 + QStringLiteral(" AND "));
        t.insertAfter(pattern.last(), QStringLiteral(")"));
    }
}

// Word by word differences: LIKE (above); N'…' is a plain literal; !< and !>
// are >= and <=; quoted names (above), of which PostgreSQL knows no [brackets].
void adaptTokens(TokenText& t, core::Engine engine, bool asWritten, const BoundPatterns& bound)
{
    for (int i = 0; i < t.size(); ++i) {
        if (t.isWord(i, QLatin1StringView("like"))) {
            if (engine == core::Engine::PostgreSQL)
                toPostgresLike(t, i, asWritten, bound.caseless);
            if (!asWritten)
                lightenTrimmedLike(t, i, engine, bound);
        } else if (t.is(i, TokenKind::String) && !t.text(i).startsWith(u'\''))
            t.replace(i, t.text(i).mid(1));
        else if (t.isOperator(i, QLatin1StringView("!<")))
            t.replace(i, QStringLiteral(">="));
        else if (t.isOperator(i, QLatin1StringView("!>")))
            t.replace(i, QStringLiteral("<="));
        else if (engine == core::Engine::PostgreSQL && t.is(i, TokenKind::QuotedName) && t.text(i).size() >= 2
                 && t.text(i).back() == (t.text(i).front() == u'[' ? u']' : u'"'))
            t.replace(i, nameForEngine(unquote(t.text(i)), engine));
    }
}

// `name = expr` -> `expr AS name`. The blanks between the name and the
// expression go; everything else, comments included, stays where it was.
// A plain alias stays unquoted: quoting would make it case-sensitive in
// PostgreSQL, and the surrounding statement names it in any case.
void rewriteAliases(TokenText& t, const QVector<SelectAlias>& aliases, core::Engine engine)
{
    for (const SelectAlias& a : aliases) {
        const QString alias = t.is(a.name, TokenKind::String)
                                  ? nameForEngine(unquote(t.output(a.name)), engine)
                                  : t.output(a.name);
        const int exprFirst = t.next(a.equals);
        for (int j = a.name; j < exprFirst; ++j) {
            if (j == a.name || j == a.equals || t.is(j, TokenKind::Space))
                t.replace(j, QString());
        }
        // A joined text has no type of its own in SQLite, where SQL Server
        // gives it the text type. Without one, a union of it with a text
        // column is not merged into the query around it, and an ORDER BY
        // over the union then sorts every row instead of reading indexes.
        if (engine == core::Engine::SQLite && a.joinsText) {
            t.insertOutermostBefore(exprFirst, QStringLiteral("CAST("));
            t.insertAfter(a.exprLast, QStringLiteral(" AS TEXT) AS ") + alias);
        } else {
            t.insertAfter(a.exprLast, QStringLiteral(" AS ") + alias);
        }
    }
}

} // namespace

bool isCaselessPatternText(const QString& text)
{
    // '_' stands for one character, and lower-casing can change a text's
    // length; outside ASCII only Hangul is known to have no case.
    for (QChar c : text)
        if (c == u'_' || (c.unicode() < 128 ? c.isLetter() : !isHangul(c)))
            return false;
    return true;
}

bool isOpenEndedPatternText(const QString& text)
{
    return text.endsWith(u'%');
}

bool isAnyTextPattern(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c == u'%'; });
}

QStringList likeParameters(const QString& tsql)
{
    QStringList names;
    TokenText t(tsql);
    for (int i = 0; i < t.size(); ++i) {
        if (!t.isWord(i, QLatin1StringView("like")))
            continue;
        const Chain pattern = readChain(t, t.next(i), t.size());
        if (pattern.operands.isEmpty())
            continue;
        for (int j = pattern.first(); j >= 0 && j <= pattern.last(); j = t.next(j))
            if (t.is(j, TokenKind::Parameter) && !names.contains(parameterName(t, j)))
                names.append(parameterName(t, j));
    }
    return names;
}

QString translateSql(const QString& tsql, core::Engine engine, bool asWritten, const BoundPatterns& bound)
{
    if (engine == core::Engine::SqlServer)
        return tsql;
    TokenText t(tsql);
    const Assignments assignments = findAssignments(t);
    rewriteConcatenation(t);
    adaptTokens(t, engine, asWritten, bound);
    trimComparedLiterals(t, assignments.equals);
    rewriteAliases(t, assignments.aliases, engine);
    if (engine == core::Engine::PostgreSQL && !asWritten)
        return sql::liftUnionLeafConditions(t.result());
    return t.result();
}

} // namespace sql
