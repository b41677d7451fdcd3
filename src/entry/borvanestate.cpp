#include "windowstate.h"

#include "widgets/accelbutton.h"
#include "widgets/colourpanel.h"
#include "widgets/colours.h"

#include <QFrame>
#include <QLineEdit>

namespace entry {

TfmBorvane::WindowState TfmBorvane::captureState() const
{
    WindowState state;
    state.mode = m_draft.mode;
    state.serial = edSerial->text();
    state.lastStoredKey = m_draft.lastStoredKey;
    state.gridReturnKey = m_draft.gridReturnKey;
    const widgets::AccelButton* buttons[] = {InsertBtn, CancelBtn, SaveBtn, DeleteBtn, PrintBtn, CloseBtn};
    for (size_t i = 0; i < state.buttonsEnabled.size(); ++i)
        state.buttonsEnabled[i] = buttons[i]->isEnabled();
    for (const LinePanel& line : m_lines) {
        WindowState::Line& s = state.lines[size_t(line.number - 1)];
        s.serialBun = line.serialBun->text();
        for (size_t k = 0; k < size_t(voucher::kNameKinds); ++k) {
            s.names[k] = line.names[k]->text();
            s.codes[k] = line.typed->codes[k];
        }
        s.acText = line.acText->text();
        s.crAmt = line.crAmt->text();
        s.drAmt = line.drAmt->text();
        s.crAmtPlain = line.crAmtPlain;
        s.drAmtPlain = line.drAmtPlain;
        s.hidden = line.panel->isHidden();
        s.disabled = line.panel->testAttribute(Qt::WA_Disabled);
        s.colour = line.panel->colour();
    }
    return state;
}

void TfmBorvane::restoreState(const WindowState& state)
{
    m_draft.mode = state.mode;
    edSerial->setText(state.serial);
    m_draft.lastStoredKey = state.lastStoredKey;
    m_draft.gridReturnKey = state.gridReturnKey;
    widgets::AccelButton* buttons[] = {InsertBtn, CancelBtn, SaveBtn, DeleteBtn, PrintBtn, CloseBtn};
    for (size_t i = 0; i < state.buttonsEnabled.size(); ++i)
        buttons[i]->setEnabled(state.buttonsEnabled[i]);
    for (LinePanel& line : m_lines) {
        const WindowState::Line& s = state.lines[size_t(line.number - 1)];
        line.serialBun->setText(s.serialBun);
        for (size_t k = 0; k < size_t(voucher::kNameKinds); ++k) {
            line.names[k]->setText(s.names[k]);
            line.typed->codes[k] = s.codes[k];
        }
        line.acText->setText(s.acText);
        line.crAmt->setText(s.crAmt);
        line.drAmt->setText(s.drAmt);
        line.crAmtPlain = s.crAmtPlain;
        line.drAmtPlain = s.drAmtPlain;
        line.panel->setHidden(s.hidden);
        line.panel->setEnabled(!s.disabled);
        line.panel->setColour(s.colour);
    }
}

} // namespace entry
