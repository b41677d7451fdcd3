#pragma once

#include "lookuptarget.h"

#include <QDialog>

// The frame the six lookup dialogs share; each dialog is this frame with its
// own caption, layout sizes, grid columns and search statement.
// (Declarations the entry window relies on; the frame fills in the rest.)
class LookupDialog : public QDialog {
    Q_OBJECT
public:
    // Prepares the dialog to serve line `line` (1..5): empties the chosen code
    // and name and the search field, then puts the line number and the search
    // text in (the customer and bank lookup also resets its kind filter).
    virtual void prepareFor(int line, const QString& searchText) = 0;
    // Runs the search with the current search text (pQuery in Form2).
    virtual void runSearch() = 0;
    // Shows the dialog without waiting and brings it to the front.
    virtual void showLookup() = 0;
    // The line the dialog serves, 0 before the first preparation.
    virtual int targetLine() const = 0;

protected:
    using QDialog::QDialog;
};
