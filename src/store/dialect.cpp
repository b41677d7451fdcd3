#include "dialect.h"

// Temporary pass-through until the tokenizer-based rewrite lands.
namespace store {
QString translateSql(const QString& tsql, Engine) { return tsql; }
}
