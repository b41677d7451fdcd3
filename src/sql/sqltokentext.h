#pragma once

#include "sqltoken.h"

#include <QString>
#include <QVector>

namespace sql {

// Tokens of one statement text with navigation over the significant ones
// (neither blanks nor comments) and edits that keep every other token as
// written: a token's text can be replaced, and text can be put before or
// after it. Parentheses are paired once, so a parenthesised group can be
// stepped over or entered.
class TokenText {
public:
    explicit TokenText(const QString& sql);

    int size() const { return int(m_tokens.size()); }
    TokenKind kind(int i) const { return m_tokens[i].kind; }
    const QString& text(int i) const { return m_tokens[i].text; }
    bool valid(int i) const { return i >= 0 && i < size(); }

    // A Name token that is this word, ignoring case.
    bool isWord(int i, QLatin1StringView word) const;
    bool isOperator(int i, QLatin1StringView op) const;
    bool is(int i, TokenKind k) const { return valid(i) && kind(i) == k; }

    // The next / previous significant token, or size() / -1.
    int next(int i) const;
    int prev(int i) const;
    // The partner of a parenthesis; an unpaired '(' is closed by the end of
    // the text (size()), an unpaired ')' has no partner (-1).
    int partner(int i) const { return m_partner[i]; }
    // The next significant token at the same depth: a group is stepped over.
    int nextAtLevel(int i) const;

    void replace(int i, const QString& text) { m_out[i] = text; }
    void insertBefore(int i, const QString& text) { m_before[i].append(text); }
    void insertAfter(int i, const QString& text) { m_after[i].append(text); }
    // Before everything inserted so far: the opening of a wrapper around it.
    void insertOutermostBefore(int i, const QString& text) { m_before[i].prepend(text); }
    // The text a token now stands for (after replace).
    const QString& output(int i) const { return m_out[i]; }

    QString result() const;

private:
    QVector<Token> m_tokens;
    QVector<int> m_partner;
    QVector<QString> m_out;
    QVector<QString> m_before;
    QVector<QString> m_after;
};

} // namespace sql
