#pragma once

#include "lookuptarget.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>
#include <Qt>

namespace lookup {

// One result column of a lookup grid: the column, its title and its display
// width in characters (the grid turns it into pixels with its own font).
struct LookupColumn {
    QString field;
    QString title;
    int displayChars = 10;
};

// Everything by which the six lookup windows differ; what they read is the
// master book's (voucher::lookup(kind)). The frame builds the window and
// the grid from it; the dialogs only fill it in.
struct LookupDefinition {
    voucher::LookupKind kind = voucher::LookupKind::Employee;
    QString caption;
    QSize clientSize;

    QString label2;          // above the chosen name
    QString label3;          // above the search field
    QPoint label3At;
    QPoint searchAt;         // edSearch
    int searchBtnX = 0;      // SearchBtn, at y 70
    int panel7X = 0;         // the button bar, at y 10
    int codeWidth = 163;     // edAc_code2
    int nameWidth = 213;     // edAc_Name2

    QVector<LookupColumn> columns;
    bool leadingEmptyColumn = true;          // an unbound first column of width 0
    Qt::Alignment titleAlignment = Qt::AlignCenter;

    // Leaving the search field for this control runs no search ("" for none).
    QString noSearchOnExitTo;
};

} // namespace lookup
