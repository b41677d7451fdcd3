#include "windowstate.h"

#include "widgets/accelbutton.h"
#include "widgets/messages.h"
#include "widgets/waitcursor.h"

#include <QFrame>
#include <QLineEdit>
#include <QScopedValueRollback>

namespace entry {

void TfmBorvane::SaveBtnClick()
{
    widgets::WaitCursor wait;
    // Focus moves made from here on (to a refused field, to the button) are
    // no reason for the date or branch handlers to drop the typed lines.
    const QScopedValueRollback saving(m_saving, true);
    // Taken before anything changes, to put back if the store refuses.
    const WindowState before = captureState();

    if (m_draft.mode != voucher::VoucherMode::New && warnWhenListEmpty())
        return;
    readDraft();
    const std::optional<voucher::DraftProblem> problem = m_draft.checkSave();
    showDraftAmounts();
    if (refuse(problem))
        return;
    if (m_draft.mode == voucher::VoucherMode::New)
        saveNewVoucher(before);
    // A new voucher's save has set "1" by now: one click never does both.
    if (m_draft.mode == voucher::VoucherMode::Correcting)
        saveCorrection(before);
}

void TfmBorvane::saveNewVoucher(const WindowState& before)
{
    SaveBtn->setFocus(); // the field being left runs its exit handling
    // An exit handler that kept the focus (an amount too long, say) has told
    // the clerk why; the voucher is not stored as it stands.
    if (focusWidget() != SaveBtn || m_draft.mode != voucher::VoucherMode::New)
        return;
    m_draft.lastStoredKey.clear();
    try {
        // The book numbers and stores the voucher whole or not at all.
        readDraft(); // as the exit handlers left the fields
        const voucher::SavedVoucher saved = m_book.saveNewVoucher(edDate->text(), branchIndex(), m_draft.newVoucherLines());
        edSerial->setText(saved.serialJen);
        m_draft.lastStoredKey = saved.lastStoredKey;
    } catch (const voucher::PeriodClosedError& closed) {
        // Nothing was written: the clerk keeps the voucher and picks another date.
        restoreState(before);
        widgets::warningBox(this, closed.text());
        edDate->selectAll();
        edDate->setFocus();
        return;
    } catch (...) {
        // Rolled back; the clerk gets the voucher back as typed, and the
        // program's error report shows the engine's text.
        restoreState(before);
        throw;
    }
    m_draft.mode = voucher::VoucherMode::Idle;
    pEnabledBtn();
    pClear();
    Panel7->setFocus();
    pQuery();
    m_book.locateListedLine(m_draft.lastStoredKey);
}

} // namespace entry
