#pragma once

#include "sqltokentext.h"

#include <QVector>

namespace sql {

// What SQL Server's '+' needs to know of an operand: a number adds, two
// texts join. Parameters, other columns, NULL and unknown functions count as
// text; the amount columns, number literals and numeric functions as numbers.
enum class ValueType { Number, Text };

// One operand: unary signs, then a literal, parameter, column, function call,
// parenthesised group or CASE … END. `core` is the token after the signs.
struct Operand {
    int first = -1;
    int core = -1;
    int last = -1;
    ValueType type = ValueType::Text;
    bool isCase = false;
    bool valid() const { return first >= 0; }
};

// Operands joined by + - * / %, read from a significant token `begin`
// before `end`; operators[k] stands between operands[k] and operands[k + 1].
struct Chain {
    QVector<Operand> operands;
    QVector<int> operators;
    int first() const { return operands.first().first; }
    int last() const { return operands.last().last; }
};

// One '+' or '-' of a chain as SQL Server reads it, left to right after * / %.
struct AdditiveStep {
    int op;       // the operator token
    bool joins;   // a '+' between two non-numbers: text concatenation
    int leftLast; // last token of the operand to its left (a product)
};

struct ChainReading {
    ValueType type = ValueType::Text;
    QVector<AdditiveStep> steps;
};

Operand readOperand(const TokenText& t, int begin, int end);
// Empty when no operand starts at begin.
Chain readChain(const TokenText& t, int begin, int end);
ChainReading readMeaning(const TokenText& t, const Chain& chain);

// The END of the CASE at `caseWord` (nested CASEs counted), or -1.
int caseEnd(const TokenText& t, int caseWord);

} // namespace sql
