#pragma once

// Rows of the demo master data, one list per table, split over the
// demodata_*.cpp files. Private to the store: the program only sees
// loadDemoData() (schema.h).

#include <QList>
#include <QStringList>
#include <initializer_list>

namespace store::demo {

struct DemoTable {
    QString table;
    QStringList columns;
    QList<QStringList> rows; // each as many texts as columns, in column order
};

// Branches "00000", "00001", … without gaps, head office first.
DemoTable branches();
// The chart of accounts: every listed category key, some accounts of the
// excluded keys, the cash account, a placeholder and an ungrouped account,
// and a few rows of another code set.
DemoTable accounts();
DemoTable customers();
DemoTable banks();
DemoTable employees();
DemoTable departments();
DemoTable projects();
DemoTable items();
DemoTable fillerRows(); // Jen_Print "01".."07"

// A table from UTF-8 literals.
DemoTable makeTable(const char* name, std::initializer_list<const char*> columns,
                    std::initializer_list<std::initializer_list<const char*>> rows);

} // namespace store::demo
