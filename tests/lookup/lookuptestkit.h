#pragma once

#include "lookup/lookuptarget.h"
#include "masterrows.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Records every write-back a lookup dialog makes, in order.
class FakeTarget : public lookup::LookupTarget {
public:
    struct Write {
        voucher::LookupKind kind;
        int line;
        QString code;
        QString name;
    };
    void writeLookupChoice(voucher::LookupKind kind, int line, const QString& code, const QString& name) override
    {
        writes.append({kind, line, code, name});
    }
    QVector<Write> writes;
};
