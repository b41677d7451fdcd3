#pragma once

// Rows of the demo master data, one list per table, split over the
// demodata_*.cpp files, and the rows the program itself needs, which the
// demo data holds too. Private to the schema: the program only sees
// loadDemoData() and addProgramRows() (schema.h).

#include <QList>
#include <QStringList>
#include <initializer_list>

namespace schema::demo {

struct DemoTable {
    QString table;
    QStringList columns;
    QList<QStringList> rows; // each as many texts as columns, in column order
};

// Branches "00000", "00001", … without gaps, head office first.
DemoTable branches();
// The chart of accounts: the cash account, every listed category key, some
// accounts of the excluded keys, a placeholder and an ungrouped account, and
// a few rows of another code set.
DemoTable accounts();
DemoTable customers();
DemoTable banks();
DemoTable employees();
DemoTable departments();
DemoTable projects();
DemoTable items();

// The rows the program itself needs, whatever a company's masters; each
// row's key is its first column.
DemoTable fillerRows();  // Jen_Print "01".."07", the printed voucher's blank rows
DemoTable cashAccount(); // test_ac_code 10101001000 "현금", which every credit row names

// A table from UTF-8 literals.
DemoTable makeTable(const char* name, std::initializer_list<const char*> columns,
                    std::initializer_list<std::initializer_list<const char*>> rows);

} // namespace schema::demo
