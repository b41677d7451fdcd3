#pragma once

#include "linepanel.h"
#include "lookup/lookuptarget.h"
#include "print/printrequest.h"
#include "voucher/voucherbook.h"
#include "voucher/voucherdraft.h"

#include <QWidget>
#include <array>
#include <functional>
#include <optional>

namespace widgets {
class AccelButton;
class BranchCombo;
class DbGrid;
}
namespace lookup {
class LookupDialog;
}
class QFrame;
class QLineEdit;

namespace entry {

// fmBorvane, the voucher entry window and the program's main window: the
// base date and branch, five line panels, the button bar and the voucher
// list of the date and branch.
//
// The voucher it shows (mode, line codes, the loaded line, the keys of the
// last stored line and of the grid's return row) and the checks a save makes
// are its VoucherDraft; the window maps fields to it and its problems to a
// message box and the field to correct.
class TfmBorvane : public QWidget, public lookup::LookupTarget {
    Q_OBJECT

public:
    // Builds the window and runs its creation handler (centred placement,
    // branch list, today's vouchers); the data source must be set.
    explicit TfmBorvane(QWidget* parent = nullptr);
    ~TfmBorvane() override;

    // The lookup dialogs Form1..Form6, in LookupKind order: given made, or
    // by a maker that makeLookupDialogs() (or the first lookup) runs once.
    void setLookupDialogs(const std::array<lookup::LookupDialog*, voucher::kNameKinds>& dialogs);
    using LookupDialogMaker = std::function<std::array<lookup::LookupDialog*, voucher::kNameKinds>()>;
    // What PrintBtnClick hands the chosen voucher to: shows it in the print
    // preview; false when there was nothing to print.
    using VoucherPrinter = std::function<bool(const print::PrintRequest&, QWidget* parent)>;
    void setVoucherPrinter(VoucherPrinter printer) { m_printer = std::move(printer); }
    void setLookupDialogMaker(LookupDialogMaker maker) { m_lookupMaker = std::move(maker); }
    void makeLookupDialogs();
    lookup::LookupDialog* lookupDialog(voucher::LookupKind kind)
    {
        makeLookupDialogs();
        return m_lookups[static_cast<size_t>(kind)];
    }

    // A lookup dialog's choice for a name field of line 1..5.
    void writeLookupChoice(voucher::LookupKind kind, int line, const QString& code, const QString& name) override;

    voucher::VoucherMode mode() const { return m_draft.mode; }
    const LinePanel& line(int number) const { return m_lines[number - 1]; }
    const QString& lastStoredKey() const { return m_draft.lastStoredKey; }
    const QString& gridReturnKey() const { return m_draft.gridReturnKey; }
    // The branch code position of cbKubun (-1 when its text names no branch).
    int branchIndex() const;
    // The voucher list the grid shows; its current row is the chosen one.
    store::SqlStatement& voucherList() { return m_book.list(); }

    // What a click, a keystroke or a field's exit runs, by name, for callers
    // that drive the window without events (the benchmarks time the handler
    // alone): an error reaches the caller instead of the error report.
    enum class Handler {
        InsertBtnClick,  // the Insert button
        CancelBtnClick,  // the Cancel button
        SaveBtnClick,    // the Save button
        DeleteBtnClick,  // the Delete button
        DBGrid1CellClick, // a click on the grid's current row: loads its voucher
        cbKubunChange,   // a change of branch: lists again (when the typed lines may go)
        pQuery,          // lists the date and branch again, as the date's exit does
        StartNewVoucher, // mode "3", as the first thing typed in a line of an idle window gives
    };
    void runHandler(Handler handler);

signals:
    // The window was closed: the program ends.
    void formClosed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Layout (borvanelayout.cpp)
    void buildControls();
    void buildHeader();
    void buildButtonBar();
    void buildLinePanel(LinePanel& line, QWidget* body);
    void buildGrid(QWidget* body);
    void buildTabOrder();
    void connectHandlers();

    // Modes and buttons (borvane.cpp)
    void pClear();
    void pEnabledBtn();
    // With no row in the list: says so, puts the focus on Panel7 and returns
    // true; the handlers that work on the chosen row then stop.
    bool warnWhenListEmpty();
    void resetPanels();
    // Typed lines the clerk has not saved: typing since the panels were last
    // cleared or loaded, in a panel that is shown and holds something.
    bool hasUnsavedLines() const;
    // Before the date or branch handlers reset the panels: whether they may.
    // Unsaved lines stay for a save under way, which stores them, and go
    // otherwise only when the clerk agrees; on No the focus returns to field.
    bool mayDiscardTypedLines(QWidget* field);
    // The clerk typed or chose something in a line panel: outside a
    // correction that starts a new voucher, as moving on from an account to
    // its customer does; a voucher typed by clicks could otherwise never be saved.
    void lineTyped();
    void showPanelsEnabled();
    void paintPanelsButtonFace();
    void InsertBtnClick();
    void CancelBtnClick();
    void CloseBtnClick();
    void FormClose();

    // Creation, list and branch selector (borvanelist.cpp)
    void FormCreate();
    void fillBranchList();
    void fillEmptyBranchList();
    void pQuery();
    void cbKubunEnter(QWidget* from);
    void cbKubunExit(QWidget* target);
    void cbKubunChange();
    void reloadForBranch();
    void DBGrid1CellClick();
    void DBGrid1KeyDown();
    void DBGrid1KeyUp();
    void chooseGridRow();
    void pDBGridDisplay();
    void showLinePanel(LinePanel& line);

    // Loading a voucher (borvaneload.cpp)
    void pPanel_DisplayQuery();
    void showLoadedLine(LinePanel& line, const voucher::VoucherLine& loaded);
    void showLoadedAmount(QLineEdit* field, QString& plain, double stored);

    // The loaded line's changes, read-only, on Ctrl+H (borvanehistory.cpp)
    void connectHistoryKey();
    void showLineHistory();

    // Printing the chosen voucher (borvaneprint.cpp)
    void PrintBtnClick();

    // Name fields and the lookup hand-off (borvanefields.cpp). The focus
    // target of an exit handler is the window's focus widget at that moment.
    void connectLineFields();
    QString activeControlName() const;
    bool focusTargetStaysPut() const;
    void edAc_JenName_0NExit(int line);
    void edName_0NExit(voucher::LookupKind kind, int line); // customer .. item
    void handOverToLookup(voucher::LookupKind kind, LinePanel& line);

    // Key filters, the base date and the amounts (borvaneinput.cpp)
    void connectInputHandlers();
    void refuseKey(char16_t& key);
    void edDateKeyPress(QWidget* sender, char16_t& key);
    void edAmtKeyPress(QWidget* sender, char16_t& key);
    void edEditKeyPress(QWidget* sender, char16_t& key);
    void selectNextTabStop(QWidget* from);
    void edDateExit();
    bool reformatAmount(QLineEdit* field); // false: refused, the exit stops
    void edCr_Amt_0NExit(int line);
    void edDr_Amt_0NExit(int line);
    void edCr_Amt_0NClick(int line);

    // Saving a new voucher, correcting a line, deleting a line
    // (borvanesave.cpp, borvanecorrect.cpp, borvanedelete.cpp); what a
    // refused save puts back (windowstate.h, borvanestate.cpp).
    struct WindowState;
    WindowState captureState() const;
    void restoreState(const WindowState& state);
    void SaveBtnClick();
    void saveNewVoucher(const WindowState& before);
    void saveCorrection(const WindowState& before);
    bool pUpDateQuery(); // false: the line is not stored, nothing changed
    void DeleteBtnClick();
    void pDeleteCount_Query();

    LinePanel& lineAt(int number) { return m_lines[number - 1]; }

    // The draft and the fields (borvanedraft.cpp): the fields' texts into
    // the draft, the amounts it read as "0" back, and a problem it found
    // told in a box with the focus on its field (true: refused).
    void readDraft();
    void showDraftAmounts();
    bool refuse(const std::optional<voucher::DraftProblem>& problem);

    // Controls, named as the clerk's framework named them.
    QLineEdit* edDate = nullptr;
    widgets::BranchCombo* cbKubun = nullptr;
    QLineEdit* edSerial = nullptr;
    QFrame* Panel7 = nullptr;
    QFrame* Panel10 = nullptr;
    widgets::AccelButton* InsertBtn = nullptr;
    widgets::AccelButton* CancelBtn = nullptr;
    widgets::AccelButton* SaveBtn = nullptr;
    widgets::AccelButton* DeleteBtn = nullptr;
    widgets::AccelButton* PrintBtn = nullptr;
    widgets::AccelButton* CloseBtn = nullptr;
    widgets::DbGrid* DBGrid1 = nullptr;
    std::array<LinePanel, voucher::kLineCount> m_lines;
    // While a grid row is chosen: the line panels the chosen voucher shows.
    std::optional<std::array<bool, voucher::kLineCount>> m_panelsToShow;

    // The vouchers on the data source Account, with the list DBGrid1 shows.
    voucher::VoucherBook m_book;

    // The voucher the window shows, without its widgets.
    voucher::VoucherDraft m_draft;
    bool m_linesTyped = false; // typed into the line panels since they were cleared or loaded
    bool m_saving = false;     // SaveBtnClick is running
    // The branch text and item the list was last made for: what the selector
    // returns to when the clerk keeps typed lines instead of a new branch.
    QString m_listedBranchText;
    int m_listedBranchItem = 0;
    std::array<lookup::LookupDialog*, voucher::kNameKinds> m_lookups{};
    LookupDialogMaker m_lookupMaker;
    VoucherPrinter m_printer;
};

} // namespace entry
