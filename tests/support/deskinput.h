#pragma once

#include "deskwindow.h"

#include <QString>
#include <QStringList>

class QLineEdit;
class QWidget;
namespace widgets {
class DbGrid;
}

// What a clerk does at the desk: keys, clicks, and what the window shows.
namespace testdesk {

// Types a text into a widget key by key; characters beyond ASCII (Hangul)
// arrive as key events carrying their text, as a committed input method
// syllable would.
void typeText(QWidget* widget, const QString& text);

// Clicks into a field and replaces its text by typing.
void retype(Desk& desk, QLineEdit* field, const QString& text);

// Clicks a button of the window with the mouse.
void press(Desk& desk, const QString& button);

// Clicks the cell of a grid row (in a visible data column).
void clickGridRow(widgets::DbGrid* grid, int row, int column = 3);

// The grid's row whose result columns serial_jen and serial_bun match, or -1.
int gridRowOf(widgets::DbGrid* grid, const QString& serialJen, const QString& line);

// The display text of a grid cell.
QString gridText(widgets::DbGrid* grid, int row, int column);

// The objectName of the widget with the keyboard focus in the window.
QString focusName(const QWidget* window);

// Clicks the list row of voucher number + line number, which loads it for correction.
void chooseRow(Desk& desk, const QString& serialJen, const char* line);

// Types the base date, leaves it for the branch selector and clicks the
// branch at `branch` in its dropped-down list, then tabs on to line 1.
void chooseDateAndBranch(Desk& desk, const QString& date, int branch);

// What a clerk types into one line; an empty text is left alone. A name
// is typed as `search` and chosen in its lookup by the row with `code`.
struct NameInput {
    QString search;
    QString code;
};

struct LineInput {
    NameInput account, customer, employee, department, project, item;
    QString text;   // the description
    QString amount; // typed into the debit amount, as keys
};

// Clicks the row of a lookup's grid whose code column holds `code`.
void chooseListed(lookup::LookupFrame* dialog, const QString& code);

// Types a name into a line's field, leaves it with Tab and, when `code` is
// not empty, clicks that row in the lookup that opened.
void typeName(Desk& desk, int line, voucher::LookupKind kind, const NameInput& input);

// Types one line field by field: each name is typed, left with Tab so that
// its lookup opens, and chosen by a click in the lookup's grid. The amount
// is typed last and the focus stays in it.
void typeLine(Desk& desk, int line, const LineInput& input);

// Everything a refused save must leave as it was: the mode, the voucher
// number, the keys, every text and line code, the panels' looks and the
// buttons' states, as texts.
QStringList windowState(Desk& desk);

} // namespace testdesk
