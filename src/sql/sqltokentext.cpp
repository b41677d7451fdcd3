#include "sqltokentext.h"

namespace sql {

namespace {

bool significant(TokenKind k)
{
    return k != TokenKind::Space && k != TokenKind::Comment;
}

} // namespace

TokenText::TokenText(const QString& sql) : m_tokens(tokenize(sql))
{
    const int n = size();
    m_partner.fill(-1, n);
    m_out.resize(n);
    m_before.resize(n);
    m_after.resize(n);
    QVector<int> open;
    for (int i = 0; i < n; ++i) {
        m_out[i] = m_tokens[i].text;
        if (m_tokens[i].kind == TokenKind::OpenParen) {
            open.append(i);
        } else if (m_tokens[i].kind == TokenKind::CloseParen && !open.isEmpty()) {
            const int o = open.takeLast();
            m_partner[o] = i;
            m_partner[i] = o;
        }
    }
    for (int o : open)
        m_partner[o] = n;
}

bool TokenText::isWord(int i, QLatin1StringView word) const
{
    return is(i, TokenKind::Name) && text(i).compare(word, Qt::CaseInsensitive) == 0;
}

bool TokenText::isOperator(int i, QLatin1StringView op) const
{
    return is(i, TokenKind::Operator) && text(i) == op;
}

int TokenText::next(int i) const
{
    for (++i; i < size(); ++i) {
        if (significant(kind(i)))
            return i;
    }
    return size();
}

int TokenText::prev(int i) const
{
    for (--i; i >= 0; --i) {
        if (significant(kind(i)))
            return i;
    }
    return -1;
}

int TokenText::nextAtLevel(int i) const
{
    if (is(i, TokenKind::OpenParen)) {
        const int close = partner(i);
        return close >= size() ? size() : next(close);
    }
    return next(i);
}

QString TokenText::result() const
{
    QString s;
    for (int i = 0; i < size(); ++i) {
        s += m_before[i];
        s += m_out[i];
        s += m_after[i];
    }
    return s;
}

} // namespace sql
