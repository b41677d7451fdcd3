#include "sqltoken.h"

namespace sql {

namespace {

bool startsName(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#';
}

bool continuesName(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

class Lexer {
public:
    explicit Lexer(const QString& sql) : s(sql), n(sql.size()) {}

    QVector<Token> run()
    {
        QVector<Token> tokens;
        while (i < n) {
            const qsizetype from = i;
            const TokenKind kind = scanOne();
            tokens.append(Token{kind, s.mid(from, i - from)});
        }
        return tokens;
    }

private:
    QChar at(qsizetype k) const { return k < n ? s[k] : QChar(); }

    TokenKind scanOne()
    {
        const QChar c = s[i];
        if (c.isSpace()) {
            while (i < n && s[i].isSpace())
                ++i;
            return TokenKind::Space;
        }
        if (c == u'-' && at(i + 1) == u'-') {
            while (i < n && s[i] != u'\n' && s[i] != u'\r')
                ++i;
            return TokenKind::Comment;
        }
        if (c == u'/' && at(i + 1) == u'*') {
            blockComment();
            return TokenKind::Comment;
        }
        if (c == u'\'') {
            quoted(u'\'');
            return TokenKind::String;
        }
        if ((c == u'N' || c == u'n') && at(i + 1) == u'\'') {
            ++i;
            quoted(u'\'');
            return TokenKind::String;
        }
        if (c == u'"') {
            quoted(u'"');
            return TokenKind::QuotedName;
        }
        if (c == u'[') {
            quoted(u']');
            return TokenKind::QuotedName;
        }
        if (c == u':' && (at(i + 1).isLetter() || at(i + 1) == u'_')) {
            ++i;
            while (i < n && (s[i].isLetterOrNumber() || s[i] == u'_'))
                ++i;
            return TokenKind::Parameter;
        }
        if (c.isDigit() || (c == u'.' && at(i + 1).isDigit())) {
            number();
            return TokenKind::Number;
        }
        if (startsName(c)) {
            dottedName();
            return TokenKind::Name;
        }
        ++i;
        switch (c.unicode()) {
        case u'(': return TokenKind::OpenParen;
        case u')': return TokenKind::CloseParen;
        case u',': return TokenKind::Comma;
        case u';': return TokenKind::Semicolon;
        case u'<':
            if (at(i) == u'>' || at(i) == u'=')
                ++i;
            return TokenKind::Operator;
        case u'>':
            if (at(i) == u'=')
                ++i;
            return TokenKind::Operator;
        case u'!':
            if (at(i) == u'=' || at(i) == u'<' || at(i) == u'>')
                ++i;
            return TokenKind::Operator;
        case u'|':
            if (at(i) == u'|')
                ++i;
            return TokenKind::Operator;
        case u':':
            if (at(i) == u':')
                ++i;
            return TokenKind::Operator;
        case u'=': case u'+': case u'-': case u'*': case u'/': case u'%':
        case u'&': case u'^': case u'~': case u'.':
            return TokenKind::Operator;
        default:
            return TokenKind::Other;
        }
    }

    // The opening character is at i; a doubled closing character stands for itself.
    void quoted(QChar close)
    {
        for (++i; i < n; ++i) {
            if (s[i] == close) {
                if (at(i + 1) == close) {
                    ++i;
                    continue;
                }
                ++i;
                return;
            }
        }
    }

    void blockComment()
    {
        int depth = 0;
        while (i < n) {
            if (s[i] == u'/' && at(i + 1) == u'*') {
                ++depth;
                i += 2;
            } else if (s[i] == u'*' && at(i + 1) == u'/') {
                i += 2;
                if (--depth == 0)
                    return;
            } else {
                ++i;
            }
        }
    }

    void number()
    {
        if (s[i] == u'0' && (at(i + 1) == u'x' || at(i + 1) == u'X')) {
            i += 2;
            while (i < n && (s[i].isDigit() || QStringLiteral("abcdefABCDEF").contains(s[i])))
                ++i;
            return;
        }
        while (i < n && s[i].isDigit())
            ++i;
        if (at(i) == u'.') {
            ++i;
            while (i < n && s[i].isDigit())
                ++i;
        }
        if ((at(i) == u'e' || at(i) == u'E')
            && (at(i + 1).isDigit() || ((at(i + 1) == u'+' || at(i + 1) == u'-') && at(i + 2).isDigit()))) {
            i += 2;
            while (i < n && s[i].isDigit())
                ++i;
        }
    }

    // name, name.name, name.[name], name."name", name.*
    void dottedName()
    {
        while (i < n && continuesName(s[i]))
            ++i;
        while (at(i) == u'.') {
            const QChar c = at(i + 1);
            if (startsName(c)) {
                ++i;
                while (i < n && continuesName(s[i]))
                    ++i;
            } else if (c == u'"' || c == u'[') {
                ++i;
                quoted(c == u'"' ? u'"' : u']');
            } else if (c == u'*') {
                i += 2;
                return;
            } else {
                return;
            }
        }
    }

    const QString& s;
    const qsizetype n;
    qsizetype i = 0;
};

} // namespace

QVector<Token> tokenize(const QString& sql)
{
    return Lexer(sql).run();
}

} // namespace sql
