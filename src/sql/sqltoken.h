#pragma once

#include <QString>
#include <QVector>

namespace sql {

enum class TokenKind {
    Space,      // blanks, tabs, line breaks
    Comment,    // -- to the end of the line, or /* … */ (nested as Transact-SQL nests them)
    String,     // '…' with '' inside, also N'…'
    QuotedName, // "…" or […]
    Number,     // 12, 1.5, .5, 1e3, 0x1F
    Parameter,  // :name
    Name,       // a word or a dotted name: ac_code, t.ac_code, t.*, Rtrim, select
    Operator,   // = <> != < > <= >= !< !> + - * / % || and the other single signs
    OpenParen,
    CloseParen,
    Comma,
    Semicolon,
    Other,      // anything else, one character at a time
};

struct Token {
    TokenKind kind;
    QString text;
};

// Splits Transact-SQL text into tokens. Joining the texts of the tokens gives
// the text back exactly; an unterminated literal or comment runs to the end.
QVector<Token> tokenize(const QString& sql);

} // namespace sql
