#pragma once

#include <QString>

// The six kinds of name field on a line panel, each served by its own lookup.
enum class LookupKind { Account, CustomerBank, Employee, Department, Project, Item };

// Where a lookup dialog writes the chosen row: the name field of one line of
// the entry window gets the name as its text and the code as its line code.
class LookupTarget {
public:
    virtual ~LookupTarget() = default;
    virtual void writeLookupChoice(LookupKind kind, int line, const QString& code, const QString& name) = 0;
};
