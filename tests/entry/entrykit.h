#pragma once

#include "enginedb.h"
#include "modalwatcher.h"
#include "voucherseed.h"

#include <QString>

namespace widgets {
class DbGrid;
}
class QWidget;

namespace entrykit {

// Clicks the cell of a grid row (in a visible data column).
void clickGridRow(widgets::DbGrid* grid, int row, int column = 3);

// The grid's row whose result columns serial_jen and serial_bun match, or -1.
int gridRowOf(widgets::DbGrid* grid, const QString& serialJen, const QString& line);

// The display text of a grid cell.
QString gridText(widgets::DbGrid* grid, int row, int column);

// Types a text into a widget key by key; characters beyond ASCII (Hangul)
// arrive as key events carrying their text, as a committed input method
// syllable would.
void typeText(QWidget* widget, const QString& text);

// The objectName of the widget with the keyboard focus in the window.
QString focusName(QWidget* window);

} // namespace entrykit

// A test program's main with the program's application object, so that
// errors escaping a handler reach the error report as in the program.
#define ENTRY_TEST_MAIN(TestClass)                     \
    int main(int argc, char** argv)                    \
    {                                                  \
        widgets::VoucherApplication app(argc, argv);            \
        TestClass test;                                \
        return QTest::qExec(&test, argc, argv);        \
    }
