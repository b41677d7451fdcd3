#pragma once

#include "core/engine.h"

#include <QString>
#include <QStringList>

namespace sql {

// Forms of a SELECT's engine text that read parts of its result without
// reading the rows before them, so that a grid can show the last rows of a
// long list at once. They exist only for a text that ends in an ORDER BY
// over plain column names (`order by Tot_Code`, `order by b.ac_code desc`)
// with nothing after it, and whose outermost SELECT has no TOP.
struct ResultShortcuts {
    bool usable = false;
    // SELECT COUNT(*) over the text without its ORDER BY.
    QString count;
    // The text with every ORDER BY item's direction turned round, so that
    // its first rows are the result's last rows, last first.
    QString reversed;
    // The columns the rows are ordered by, as written after the ORDER BY
    // (without a table name).
    QStringList orderColumns;
};

// `columns` is the number of the result's columns: SQL Server counts over a
// derived table only when every column has a name of its own, so there
// the count names them.
ResultShortcuts resultShortcuts(const QString& engineText, core::Engine engine, int columns);

// The text reading `count` rows of its result from the 0-based `offset` on.
// The text must end in an ORDER BY (SQL Server requires one).
QString withRowWindow(const QString& orderedText, core::Engine engine, int offset, int count);

} // namespace sql
