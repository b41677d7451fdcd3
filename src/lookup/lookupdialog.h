#pragma once

#include "lookuptarget.h"
#include "voucher/masterbook.h"

#include <QDialog>

namespace lookup {

// The frame the six lookup dialogs share; each dialog is this frame with its
// own caption, layout sizes and grid columns, reading what the master book reads.
// (Declarations the entry window relies on; the frame fills in the rest.)
class LookupDialog : public QDialog {
    Q_OBJECT
public:
    // Prepares the dialog to serve the request's line (1..5): empties the
    // chosen code and name and the search field, then takes the line and the
    // search text (the customer and bank lookup also resets its kind filter).
    virtual void prepareFor(const voucher::LookupRequest& request) = 0;
    void prepareFor(int line, const QString& searchText) { prepareFor(voucher::LookupRequest{line, searchText}); }
    // Runs the search with the current search text (pQuery in Form2).
    virtual void runSearch() = 0;
    // Shows the dialog without waiting and brings it to the front.
    virtual void showLookup() = 0;
    // The line the dialog serves, 0 before the first preparation.
    virtual int targetLine() const = 0;

protected:
    using QDialog::QDialog;
};

} // namespace lookup
