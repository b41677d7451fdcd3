#pragma once

#include "voucher/namekinds.h"

#include <QString>

namespace lookup {

// Where a lookup dialog writes the chosen row: the name field of one line of
// the entry window gets the name as its text and the code as its line code.
class LookupTarget {
public:
    virtual ~LookupTarget() = default;
    virtual void writeLookupChoice(voucher::LookupKind kind, int line, const QString& code, const QString& name) = 0;
};

} // namespace lookup
