#include "borvane.h"

#include "panelrows.h"
#include "widgets/branchcombo.h"
#include "widgets/messages.h"

#include <QLineEdit>

namespace entry {

void TfmBorvane::readDraft()
{
    m_draft.date = edDate->text();
    m_draft.branchIndex = branchIndex();
    m_draft.serial = edSerial->text();
    for (LinePanel& line : m_lines)
        readTypedLine(line);
}

void TfmBorvane::showDraftAmounts()
{
    // The checks read an empty amount as "0", and the clerk sees it so.
    for (LinePanel& line : m_lines) {
        if (line.crAmt->text() != line.typed->crAmt)
            line.crAmt->setText(line.typed->crAmt);
        if (line.drAmt->text() != line.typed->drAmt)
            line.drAmt->setText(line.typed->drAmt);
    }
}

bool TfmBorvane::refuse(const std::optional<voucher::DraftProblem>& problem)
{
    if (!problem)
        return false;
    widgets::warningBox(this, problem->message);
    QWidget* field = nullptr;
    if (problem->field == voucher::DraftField::Date)
        field = edDate;
    else if (problem->field == voucher::DraftField::Branch)
        field = cbKubun;
    else if (problem->line >= 1 && problem->line <= voucher::kLineCount && problem->field != voucher::DraftField::None) {
        // The names by LookupKind, then the line's other fields in DraftField order.
        const LinePanel& line = lineAt(problem->line);
        QLineEdit* const others[] = {line.acText, line.crAmt, line.drAmt};
        const size_t at = size_t(problem->field);
        field = at < size_t(voucher::kNameKinds) ? line.names[at] : others[at - size_t(voucher::kNameKinds)];
    }
    if (!field)
        return true;
    auto* edit = qobject_cast<QLineEdit*>(field);
    // A field to retype comes with its text selected, a bad character alone.
    if (edit && problem->select == voucher::DraftProblem::Select::All)
        edit->selectAll();
    field->setFocus();
    if (edit && problem->select == voucher::DraftProblem::Select::Range)
        edit->setSelection(problem->selectFrom, problem->selectLength);
    return true;
}

} // namespace entry
