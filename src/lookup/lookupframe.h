#pragma once

#include "lookupdialog.h"
#include "lookupdefinition.h"

namespace widgets {
class DbGrid;
class PreeditCommitter;
}
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace store {
class SqlStatement;
}

namespace lookup {

// The window all six lookups share: the chosen code and name, the button bar,
// the search field and button, and the grid over `Query1`. Every click or key
// in the grid writes the current row to the target line; a double-click also
// hides the window. Concrete dialogs pass their LookupDefinition and call
// FormCreate() at the end of their own constructor.
class LookupFrame : public LookupDialog {
    Q_OBJECT
public:
    using LookupDialog::prepareFor;
    void prepareFor(const voucher::LookupRequest& request) override;
    void runSearch() override;
    void showLookup() override;
    int targetLine() const override;

    const LookupDefinition& definition() const { return m_definition; }
    const voucher::MasterLookup& reading() const { return m_search->lookup(); }
    // The search result; the listing of the whole table that creation asks
    // for is run here at the latest.
    store::SqlStatement* query();
    QLineEdit* searchEdit() const { return edSearch; }

protected:
    LookupFrame(LookupDefinition definition, LookupTarget* target, QWidget* parent);

    // Creation: centre, empty the fields, reset the filters, list the whole table.
    void FormCreate();
    void showEvent(QShowEvent* event) override;
    // Dialogs with more search controls reset them here (creation, preparation).
    virtual void resetFilters() {}

    // Enter in a search control moves the focus on (tab stops only).
    bool searchKeyPress(QKeyEvent* event);
    // A search control: it asks for Hangul on taking the focus, and a
    // syllable still being composed when it is left belongs to the search.
    void takeKoreanSearch(QWidget* searchControl);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

    QFrame* Panel1 = nullptr;
    QFrame* Panel7 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* edAc_code2 = nullptr;
    QLineEdit* edAc_Name2 = nullptr;
    QLineEdit* edSearch = nullptr;
    QPushButton* SearchBtn = nullptr;
    QPushButton* CloseBtn = nullptr;
    widgets::DbGrid* DBGrid1 = nullptr;
    store::SqlStatement* Query1 = nullptr; // the master book's result
    // The line served and the text searched for, as the last request left
    // them; the search field's edits follow into it.
    voucher::LookupRequest m_request;

private:
    void buildWindow();
    void buildButtonBar();
    void buildGrid();
    void watchKeys();
    void ensureListed();

    bool FormKeyDown(QKeyEvent* event);
    void refuseClose();
    void CloseBtnClick();
    void edSearchExit(QWidget* target);
    void SearchBtnClick();
    void writeCurrentRow();
    void DBGrid1DblClick();

    LookupDefinition m_definition;
    voucher::MasterSearch* m_search;
    LookupTarget* m_target;
    widgets::PreeditCommitter* m_composing;
    // Creation lists the whole table, but nobody sees that list before the
    // dialog is first shown or read, and every showing from the entry window
    // runs its own search first: so the listing waits until then, and a
    // hundred thousand customers do not slow the program's start.
    bool m_creationListingPending = false;
};

} // namespace lookup
